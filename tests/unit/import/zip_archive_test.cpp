#include "import/zip_archive.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "import/archive_error.h"
#include "import/archive_file.h"
#include "import/zip_entry_reader.h"
#include "import/zip_extract.h"
#include "import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

const std::string kInvalidEntryQuestion =
    "ZipFile: Invalid size or check sum of file or unsupported compression format - Native error: 00008" +
    std::string(kQuestionSuffix);

// A players file of a few megabytes in code page 1251, so that the data runs
// through several read and inflate buffers.
std::string PlayersCsv() {
    std::string text = "id;\xC8\xEC\xFF;pos;skill\r\n";
    for (int i = 0; i < 60000; ++i)
        text += std::to_string(100000 + i) + ";\xC8\xE2\xE0\xED\xEE\xE2 " + std::to_string(i * 7 % 1000) + ";FW;" +
                std::to_string(i % 97) + "\r\n";
    return text;
}

class ZipArchiveTest : public TempFolderTest {
protected:
    // Opens and extracts `archive` into Work() the way the archive choice does.
    void Extract(const fs::path& archive) {
        const ArchiveFile zip = ArchiveFile::Open(archive);
        ExtractCsvEntries(zip.Archive(), Work(), questions);
    }
    fs::path WriteCrafted(const std::vector<CraftedEntry>& entries, const std::string& name = "crafted.zip",
                          EndRecords end = EndRecords::Plain) {
        const fs::path p = Src() / name;
        WriteFileBytes(p, CraftZip(entries, end));
        return p;
    }
    // Expects opening to fail with `code` and `text`, leaving nothing behind.
    void ExpectOpenError(const fs::path& archive, ArchiveErrorCode code, const std::string& text) {
        try {
            ArchiveFile::Open(archive);
            ADD_FAILURE() << "no error for " << archive;
        } catch (const ArchiveError& e) {
            EXPECT_EQ(e.Code(), code);
            EXPECT_EQ(std::string(e.what()), text);
        }
        EXPECT_FALSE(fs::exists(Work()));
    }

    // The question about an entry declaring more than a statistics file may hold.
    std::string TooLargeQuestion(const std::string& entry, const std::string& declared) const {
        return "ZipFile: File \"" + entry + "\" of \"" + (Src() / "crafted.zip").string() + "\" declares " + declared +
               ", more than the 64 MiB a statistics file may hold - Native error: 00008" + std::string(kQuestionSuffix);
    }

    ScriptedQuestions questions;
};

// --- Archives made by real tools ---------------------------------------------

struct ToolCase {
    const char* label;
    const char* tool;
    const char* command;  // run in the content folder, writes ../out.zip
};

TEST_F(ZipArchiveTest, ExtractsArchivesOfRealToolsByteForByte) {
    const ToolCase cases[] = {
        {"Info-ZIP", "zip", "zip -q -X -r ../out.zip a_players.csv data readme.txt"},
        {"Info-ZIP stored", "zip", "zip -q -X -0 -r ../out.zip a_players.csv data readme.txt"},
        {"bsdtar", "bsdtar", "bsdtar --format zip -cf ../out.zip a_players.csv data readme.txt"},
        {"7z deflate", "7z", "7z a -tzip -mm=Deflate ../out.zip a_players.csv data readme.txt"},
        {"7z store", "7z", "7z a -tzip -mm=Copy ../out.zip a_players.csv data readme.txt"},
        // Written to a pipe, so every entry carries a data descriptor and its
        // local header holds no sizes; the Cyrillic name is stored as UTF-8.
        {"python streamed", "python3",
         "python3 -c \"import zipfile,sys,os\n"
         "out=os.fdopen(sys.stdout.fileno(),'wb')\n"
         "z=zipfile.ZipFile(out,'w',zipfile.ZIP_DEFLATED)\n"
         "for n in ['a_players.csv','data/a_team.csv','readme.txt','\\u0438\\u0433\\u0440\\u043e\\u043a\\u0438.csv']:\n"
         "  w=z.open(n,'w'); w.write(open(n,'rb').read()); w.close()\n"
         "z.close()\" | cat > ../out.zip"},
        // Zip64 records where none are needed: Info-ZIP's -fz, and Python made
        // to think every size and offset too large, with the end record's
        // fields all ones so that only the Zip64 end record tells.
        {"Info-ZIP Zip64", "zip", "zip -q -X -fz -r ../out.zip a_players.csv data readme.txt"},
        {"python Zip64", "python3",
         "python3 -c \"import zipfile,io\n"
         "zipfile.ZIP64_LIMIT=0; zipfile.ZIP_FILECOUNT_LIMIT=0\n"
         "b=io.BytesIO()\n"
         "z=zipfile.ZipFile(b,'w',zipfile.ZIP_DEFLATED,allowZip64=True)\n"
         "for n in ['a_players.csv','data/a_team.csv','readme.txt','\\u0438\\u0433\\u0440\\u043e\\u043a\\u0438.csv']:\n"
         "  z.write(n)\n"
         "z.close(); a=bytearray(b.getvalue()); a[-14:-2]=b'\\xff'*12\n"
         "open('../out.zip','wb').write(a)\""},
    };
    const std::string players = PlayersCsv();
    const std::string team = "id;name\r\n1;\xD1\xEF\xE0\xF0\xF2\xE0\xEA\r\n";
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.label);
        if (!ToolForRow(c.tool, c.label))
            continue;
        fs::remove_all(Src());
        fs::remove_all(Work());
        const fs::path content = Src() / "content";
        WriteFileBytes(content / "a_players.csv", players);
        WriteFileBytes(content / "data" / "a_team.csv", team);
        WriteFileBytes(content / "readme.txt", "not a csv\n");
        WriteFileBytes(content / "игроки.csv", "utf-8 name\n");
        RunIn(content, c.command);
        EXPECT_NO_THROW(Extract(Src() / "out.zip"));

        EXPECT_TRUE(questions.failureTexts.empty());
        EXPECT_TRUE(ReadFileBytes(Work() / "a_players.csv") == players);
        EXPECT_EQ(ReadFileBytes(Work() / "data" / "a_team.csv"), team);
        EXPECT_FALSE(fs::exists(Work() / "readme.txt"));
        if (std::string(c.tool) == "python3") {
            EXPECT_EQ(ReadFileBytes(Work() / "игроки.csv"), "utf-8 name\n");
        }
    }
}

TEST_F(ZipArchiveTest, ReadsCyrillicNameInCodePage866WithoutUtf8Flag) {
    CADRIX_REQUIRE_TOOL("python3");
    // Python writes every non-ASCII name as UTF-8; an ASCII stand-in of the
    // same length is replaced by the name's 866 bytes afterwards.
    RunIn(Src(), "python3 -c \"import zipfile,io\n"
                 "name='\\u0438\\u0433\\u0440\\u043e\\u043a\\u0438_players.csv'.encode('cp866')\n"
                 "stand=b'Q'*(len(name)-4)+b'.csv'\n"
                 "b=io.BytesIO()\n"
                 "z=zipfile.ZipFile(b,'w',zipfile.ZIP_DEFLATED); z.writestr(stand.decode(),'x;y'); z.close()\n"
                 "open('cp866.zip','wb').write(b.getvalue().replace(stand,name))\"");
    Extract(Src() / "cp866.zip");
    EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"игроки_players.csv"});
}

TEST_F(ZipArchiveTest, Deflate64EntryFailsWithError55) {
    CADRIX_REQUIRE_TOOL("7z");
    WriteFileBytes(Src() / "a_players.csv", PlayersCsv());
    RunIn(Src(), "7z a -tzip -m0=Deflate64 d64.zip a_players.csv");
    Extract(Src() / "d64.zip");
    ASSERT_EQ(questions.failureTexts.size(), 1u);
    EXPECT_EQ(questions.failureTexts[0],
              "Deflate64 compression method is not supported - Native error: 00055" + std::string(kQuestionSuffix));
    EXPECT_FALSE(fs::exists(Work() / "a_players.csv"));
}

// --- Traditional encryption (zip -P) -----------------------------------------

class EncryptedZipTest : public ZipArchiveTest {
protected:
    void SetUp() override {
        ZipArchiveTest::SetUp();
        CADRIX_REQUIRE_TOOL("zip");
        CADRIX_REQUIRE_TOOL("python3");
        WriteFileBytes(Src() / "a_players.csv", PlayersCsv());
        WriteFileBytes(Src() / "a_team.csv", "team\r\n");
        MakeArchive("enc.zip", "secret", "wrong");
    }

    // Encrypts the two files into `name` with the password bytes `password`.
    // The check byte lets one wrong password in 256 through; the archive is
    // made again until `refused` is refused by every entry, as Python confirms.
    void MakeArchive(const std::string& name, const std::string& password, const std::string& refused) {
        WriteFileBytes(Src() / "password", password);
        WriteFileBytes(Src() / "refused", refused);
        for (int attempt = 0; attempt < 10; ++attempt) {
            fs::remove(Src() / name);
            RunIn(Src(), "zip -q -P \"$(cat password)\" " + name + " a_players.csv a_team.csv");
            const std::string check = "cd '" + Src().string() +
                                      "' && python3 -c \"import zipfile\n"
                                      "z=zipfile.ZipFile('" +
                                      name +
                                      "')\n"
                                      "for n in z.namelist():\n"
                                      "  try:\n"
                                      "    z.open(n,pwd=open('refused','rb').read()); raise SystemExit(1)\n"
                                      "  except RuntimeError: pass\" >/dev/null 2>&1";
            if (std::system(check.c_str()) == 0)
                return;
        }
        FAIL() << "could not make an archive that refuses the wrong password";
    }
};

TEST_F(EncryptedZipTest, PasswordThatFitsIsReusedForFollowingEntries) {
    questions.passwords = {"secret"};
    Extract(Src() / "enc.zip");
    EXPECT_EQ(questions.passwordEntries, std::vector<std::string>{"a_players.csv"});
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_TRUE(ReadFileBytes(Work() / "a_players.csv") == PlayersCsv());
    EXPECT_EQ(ReadFileBytes(Work() / "a_team.csv"), "team\r\n");
}

TEST_F(EncryptedZipTest, WrongPasswordBringsTheQuestionBack) {
    questions.passwords = {"wrong", "secret"};
    Extract(Src() / "enc.zip");
    EXPECT_EQ(questions.passwordEntries, (std::vector<std::string>{"a_players.csv", "a_players.csv"}));
    EXPECT_TRUE(ReadFileBytes(Work() / "a_players.csv") == PlayersCsv());
    EXPECT_EQ(ReadFileBytes(Work() / "a_team.csv"), "team\r\n");
}

TEST_F(EncryptedZipTest, CancelAbandonsEntryWithoutMessage) {
    questions.passwords = {std::nullopt, "secret"};
    Extract(Src() / "enc.zip");
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_FALSE(fs::exists(Work() / "a_players.csv"));
    EXPECT_EQ(ReadFileBytes(Work() / "a_team.csv"), "team\r\n");
}

// The password box takes 255 characters, and the managers' archives hold
// their passwords in code page 1251.
TEST_F(EncryptedZipTest, TypedPasswordIsCutTo255CharactersAndTriedIn1251) {
    const std::string ya = "\xD1\x8F", ya1251 = "\xFF";  // "я"
    auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    struct Case {
        const char* label;
        std::string archivePassword;  // bytes as stored
        std::string typed;            // UTF-8
        std::string refused;          // a spelling that must not fit
    };
    const Case cases[] = {
        {"Cyrillic in 1251", "\xEF\xE0\xF0\xEE\xEB\xFC", "пароль", "пароль"},
        {"cut to 255", std::string(255, 'x'), std::string(300, 'x'), std::string(300, 'x')},
        {"cut counts characters, not bytes", times(ya1251, 255), times(ya, 300), times(ya, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        MakeArchive("typed.zip", c.archivePassword, c.refused);
        fs::remove_all(Work());
        questions = ScriptedQuestions{};
        questions.passwords = {c.typed};
        Extract(Src() / "typed.zip");
        EXPECT_EQ(questions.passwordEntries, std::vector<std::string>{"a_players.csv"});
        EXPECT_EQ(ReadFileBytes(Work() / "a_team.csv"), "team\r\n");
    }
}

TEST_F(EncryptedZipTest, UnattendedExtractionLeavesEncryptedEntriesOut) {
    UnattendedQuestions unattended;
    const ArchiveFile zip = ArchiveFile::Open(Src() / "enc.zip");
    ExtractCsvEntries(zip.Archive(), Work(), unattended);
    EXPECT_TRUE(TreeOf(Work()).empty());
}

// --- Reading from memory -----------------------------------------------------

// Keeps an entry's bytes, handed over whole or piece by piece.
struct MemoryOutput : EntryOutput {
    void Write(const std::uint8_t* data, std::size_t n) override {
        bytes.append(reinterpret_cast<const char*>(data), n);
    }
    std::optional<std::span<std::uint8_t>> Room(std::size_t size) override {
        bytes.resize(size);
        return std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), size);
    }
    void Filled() override {}
    std::string bytes;
};

// No file at all: the bytes are read where they lie, and a stream longer than
// its entry declares stops at the declared size.
TEST(ZipArchiveInMemory, ReadsEntriesIntoAnyOutputAndNeverBeyondTheDeclaredSize) {
    const std::string text = PlayersCsv();
    const std::string bytes =
        CraftZip({{.name = "a.csv", .data = text},
                  {.name = "b.csv", .data = "stored", .method = 0},
                  {.name = "lying.csv", .data = text, .uncompressedSize = 100, .localSizes = false}});
    const ZipArchive archive(std::as_bytes(std::span(bytes)), {});
    ASSERT_EQ(archive.Entries().size(), 3u);
    UnattendedQuestions nobody;
    EntryReader reader(archive, nobody);
    MemoryOutput a, b, lying;
    EXPECT_EQ(reader.Read(archive.Entries()[0], a), EntryRead::Done);
    EXPECT_TRUE(a.bytes == text);
    EXPECT_EQ(reader.Read(archive.Entries()[1], b), EntryRead::Done);
    EXPECT_EQ(b.bytes, "stored");
    EXPECT_THROW(reader.Read(archive.Entries()[2], lying), ArchiveError);
    EXPECT_LE(lying.bytes.size(), 100u);
}

// --- Opening -----------------------------------------------------------------

TEST_F(ZipArchiveTest, BlankFileNameIsError9) {
    ExpectOpenError("", ArchiveErrorCode::BlankFileName,
                    "ZipFile: File name is blank. Specify appropriate file name - Native error: 00009");
}

TEST_F(ZipArchiveTest, MissingFileGivesArchiveWithoutEntriesAndMakesNoFile) {
    const ArchiveFile zip = ArchiveFile::Open(Src() / "missing.zip");
    EXPECT_TRUE(zip.Entries().empty());
    ExtractCsvEntries(zip.Archive(), Work(), questions);
    EXPECT_FALSE(fs::exists(Src() / "missing.zip"));
    EXPECT_FALSE(fs::exists(Work()));
}

TEST_F(ZipArchiveTest, FileThatIsNoArchiveIsError48) {
    const std::string good = CraftZip({{.name = "a.csv", .data = "1;2\r\n"}});
    const std::pair<const char*, std::string> cases[] = {
        {"text", "id;name\r\n1;x\r\n"},
        {"empty", ""},
        {"picture", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(300, '\x07')},
        {"cut before its end record", good.substr(0, good.size() - 5)},
        {"cut in half", good.substr(0, good.size() / 2)},
        {"end record alone, directory outside", std::string("PK\x05\x06\0\0\0\0\1\0\1\0\x2e\0\0\0\x10\0\0\0\0\0", 22)},
        {"end record whose comment runs past the end", good.substr(0, good.size() - 2) + "\x10\0"},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        WriteFileBytes(Src() / "bad.zip", bytes);
        ExpectOpenError(Src() / "bad.zip", ArchiveErrorCode::ArchiveDamaged,
                        "ZipFile: Archive is damaged. Open failed - Native error: 00048");
    }
}

TEST_F(ZipArchiveTest, CompressedSizesBeyondArchiveSizeAreError57) {
    const fs::path p =
        WriteCrafted({{.name = "a.csv", .data = "abc"}, {.name = "b.csv", .data = "def", .compressedSize = 100000}});
    ExpectOpenError(p, ArchiveErrorCode::SizesExceedArchive, "Archive is damaged. Open failed - Native error: 00057");
}

TEST_F(ZipArchiveTest, DamagedCentralDirectoryIsAnArchiveError) {
    std::string bytes = CraftZip({{.name = "a.csv", .data = "abc"}, {.name = "b.csv", .data = "def"}});
    const std::size_t dir = bytes.rfind(std::string("PK\x01\x02", 4));
    std::string badSignature = bytes;
    badSignature[dir + 2] = 'X';
    WriteFileBytes(Src() / "sig.zip", badSignature);
    ExpectOpenError(Src() / "sig.zip", ArchiveErrorCode::CentralDirDamaged,
                    "ZipFile: Central directory is damaged. Open failed - Native error: 00050");
}

// --- Zip64 -------------------------------------------------------------------

// Writes `value` as `width` little-endian bytes at `at`.
void Patch(std::string& bytes, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// Where the end records of a crafted Zip64 archive start, counted from its end.
constexpr std::size_t kZip64RecordFromEnd = 98, kLocatorFromEnd = 42, kEndRecordFromEnd = 22;

const std::vector<CraftedEntry> kTwoZip64Entries = {{.name = "a.csv", .data = "abc", .zip64 = true},
                                                    {.name = "b.csv", .data = "def", .zip64 = true}};

TEST_F(ZipArchiveTest, ReadsZip64ExtraFieldsAndEndRecords) {
    const std::string players = PlayersCsv();
    Extract(WriteCrafted({{.name = "a_players.csv", .data = players, .zip64 = true},
                          {.name = "stored.csv", .data = "stored", .method = 0, .zip64 = true, .localSizes = false},
                          {.name = "empty.csv", .data = "", .zip64 = true},
                          {.name = "plain.csv", .data = "plain"}},
                         "zip64.zip", EndRecords::Zip64));
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_TRUE(ReadFileBytes(Work() / "a_players.csv") == players);
    EXPECT_EQ(ReadFileBytes(Work() / "stored.csv"), "stored");
    EXPECT_EQ(ReadFileBytes(Work() / "plain.csv"), "plain");
    EXPECT_EQ(TreeOf(Work()), (std::vector<std::string>{"a_players.csv", "empty.csv", "plain.csv", "stored.csv"}));
}

// Read partly, such an archive would lose entries without a word.
TEST_F(ZipArchiveTest, EntryCountDisagreeingWithTheDirectoryIsRefused) {
    const std::string plain = CraftZip({{.name = "a.csv", .data = "abc"}, {.name = "b.csv", .data = "def"}});
    const std::string zip64 = CraftZip(kTwoZip64Entries, EndRecords::Zip64);
    const struct {
        const char* label;
        std::string bytes;
        std::size_t fromEnd;  // where the counts start
        int width;
        std::uint64_t declared;
    } cases[] = {
        {"more than there are", plain, kEndRecordFromEnd - 8, 2, 3},
        {"fewer than there are", plain, kEndRecordFromEnd - 8, 2, 1},
        {"Zip64, fewer", zip64, kZip64RecordFromEnd - 24, 8, 1},
        {"Zip64, far more", zip64, kZip64RecordFromEnd - 24, 8, 1ull << 62},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string bytes = c.bytes;
        Patch(bytes, bytes.size() - c.fromEnd, c.declared, c.width);
        Patch(bytes, bytes.size() - c.fromEnd + static_cast<std::size_t>(c.width), c.declared, c.width);
        WriteFileBytes(Src() / "count.zip", bytes);
        ExpectOpenError(Src() / "count.zip", ArchiveErrorCode::EntryCountMismatch,
                        "ZipFile: The end of the archive declares " + std::to_string(c.declared) +
                            " entries, its central directory holds 2. Open failed - Native error: 00052");
    }
}

TEST_F(ZipArchiveTest, Zip64EndRecordsThatDoNotHoldTogetherAreRefused) {
    const std::string good = CraftZip(kTwoZip64Entries, EndRecords::Zip64);
    const std::size_t record = good.size() - kZip64RecordFromEnd, locator = good.size() - kLocatorFromEnd;
    const std::string damaged = "ZipFile: Archive is damaged. Open failed - Native error: 00048";
    const std::string volumes = "ZipFile: Multi-volume archives are not supported. Open failed - Native error: 00051";
    const struct {
        const char* label;
        std::size_t at;
        int width;
        std::uint64_t value;
        const std::string& text;
    } cases[] = {
        {"no locator: the end record's all-ones offset", locator, 4, 0, damaged},
        {"locator points into itself", locator + 8, 8, record + 1, damaged},
        {"locator points beyond the file", locator + 8, 8, 1ull << 63, damaged},
        {"record without its signature", record, 4, 0, damaged},
        {"record shorter than its fixed fields", record + 4, 8, 43, damaged},
        {"record reaching into its locator", record + 4, 8, 45, damaged},
        {"directory reaching into the record", record + 48, 8, record - 1, damaged},
        {"directory size that overflows", record + 40, 8, ~0ull, damaged},
        {"fewer entries in all than on this disk", record + 32, 8, 1, damaged},
        {"locator on a second disk", locator + 4, 4, 1, volumes},
        {"locator counting two disks", locator + 16, 4, 2, volumes},
        {"record on a second disk", record + 16, 4, 1, volumes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string bytes = good;
        Patch(bytes, c.at, c.value, c.width);
        WriteFileBytes(Src() / "bad.zip", bytes);
        ExpectOpenError(
            Src() / "bad.zip",
            &c.text == &damaged ? ArchiveErrorCode::ArchiveDamaged : ArchiveErrorCode::MultiVolumeUnsupported, c.text);
    }
}

TEST_F(ZipArchiveTest, Zip64ExtraFieldsMeetTheChecksOfPlainFields) {
    const std::string data = "id;name\r\n1;abc\r\n";
    ExpectOpenError(
        WriteCrafted({{.name = "a.csv", .data = data, .zip64 = true, .centralZip64Extra = Zip64Extra({1, 2})}},
                     "short.zip"),
        ArchiveErrorCode::CentralDirDamaged,
        "ZipFile: Central directory is damaged. Open failed - Native error: 00050");
    ExpectOpenError(
        WriteCrafted({{.name = "a.csv", .data = data, .compressedSize = 1ull << 40, .zip64 = true}}, "big.zip"),
        ArchiveErrorCode::SizesExceedArchive, "Archive is damaged. Open failed - Native error: 00057");

    const struct {
        const char* label;
        std::vector<CraftedEntry> bad;
        const char* declared = nullptr;  // refused as too large, declaring this much
    } cases[] = {
        {"beyond 64 MiB",
         {{.name = "bad.csv", .data = data, .uncompressedSize = (64ull << 20) + 1, .zip64 = true}},
         "65 MiB"},
        // Cut to 32 bits, this size would be the data's own.
        {"4 GiB beyond the data",
         {{.name = "bad.csv", .data = data, .uncompressedSize = (1ull << 32) + data.size(), .zip64 = true}},
         "4097 MiB"},
        {"local header beyond the archive",
         {{.name = "bad.csv", .data = data, .localOffset = 1ull << 33, .zip64 = true}}},
        {"sharing bytes",
         {{.name = "bad.csv", .data = data, .zip64 = true},
          {.name = "bad2.csv", .data = data, .localOffset = 0, .zip64 = true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(Work());
        questions = ScriptedQuestions{};
        std::vector<CraftedEntry> entries = c.bad;
        entries.push_back({.name = "good.csv", .data = data, .zip64 = true});
        Extract(WriteCrafted(entries));
        const std::string question = c.declared ? TooLargeQuestion("bad.csv", c.declared) : kInvalidEntryQuestion;
        EXPECT_EQ(questions.failureTexts, std::vector<std::string>(c.bad.size(), question));
        EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"good.csv"});
    }
}

TEST_F(ZipArchiveTest, FileThatCannotBeReadAsArchiveIsOpenError) {
    fs::create_directories(Src() / "folder.zip");
    EXPECT_THROW(ArchiveFile::Open(Src() / "folder.zip"), FileOpenError);
    ASSERT_EQ(::mkfifo((Src() / "pipe.zip").c_str(), 0600), 0);
    try {
        ArchiveFile::Open(Src() / "pipe.zip");
        ADD_FAILURE() << "a pipe opened as an archive";
    } catch (const FileOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + (Src() / "pipe.zip").string());
    }
    // A file that cannot be opened gives the system's reason.
    fs::create_symlink("loop.zip", Src() / "loop.zip");
    try {
        ArchiveFile::Open(Src() / "loop.zip");
        ADD_FAILURE() << "a link loop opened as an archive";
    } catch (const FileOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file " + (Src() / "loop.zip").string() + " (Too many levels of symbolic links)");
    }
    fs::remove(Src() / "loop.zip");
}

// The archive is read where it lies in memory; cut short under the reader's
// hands, it must end the extraction with an error, never the program.
TEST_F(ZipArchiveTest, ArchiveCutShortAfterOpeningEndsTheExtractionWithAReadError) {
    for (const bool localSizes : {true, false}) {
        SCOPED_TRACE(localSizes ? "decompressed whole" : "inflated as a stream");
        fs::remove_all(Work());
        const fs::path archive =
            WriteCrafted({{.name = "first.csv", .data = "first"},
                          {.name = "a_players.csv", .data = PlayersCsv(), .localSizes = localSizes}});
        const ArchiveFile zip = ArchiveFile::Open(archive);
        fs::resize_file(archive, 4096);
        try {
            ExtractCsvEntries(zip.Archive(), Work(), questions);
            ADD_FAILURE() << "no error";
        } catch (const FileReadError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read file " + archive.string());
        }
        EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"first.csv"});
    }
}

// --- Extraction of single entries --------------------------------------------

TEST_F(ZipArchiveTest, SelectsCsvEntriesWhateverTheirCase) {
    Extract(WriteCrafted({
        {.name = "A_PLAYERS.CSV", .data = "upper"},
        {.name = "a_players.csv.bak", .data = "backup"},
        {.name = "readme.txt", .data = "text"},
        {.name = "data/", .data = "", .method = 0, .externalAttributes = 0x10},
        {.name = "folder.csv", .data = "", .method = 0, .externalAttributes = 0x10},
        {.name = "data\\sub\\a_team.csv", .data = "team"},
    }));
    EXPECT_EQ(TreeOf(Work()), (std::vector<std::string>{"A_PLAYERS.CSV", "data/", "data/sub/", "data/sub/a_team.csv"}));
    EXPECT_EQ(ReadFileBytes(Work() / "A_PLAYERS.CSV"), "upper");
    EXPECT_TRUE(questions.failureTexts.empty());
}

TEST_F(ZipArchiveTest, DecodesNamesByFlagAndValidity) {
    Extract(WriteCrafted({
        // UTF-8 flag, but the bytes are 1251: read as 1251.
        {.name = "\xC8\xE3\xF0\xEE\xEA.csv", .data = "1", .flags = 0x0800},
        // No flag: 866 bytes.
        {.name = "\x8a\xab\xe3\xa1.csv", .data = "2"},
    }));
    EXPECT_EQ(ReadFileBytes(Work() / "Игрок.csv"), "1");
    EXPECT_EQ(ReadFileBytes(Work() / "Клуб.csv"), "2");
}

TEST_F(ZipArchiveTest, LaterEntryOfSameNameReplacesEarlierAndReadOnlyFilesAreReplaced) {
    WriteFileBytes(Work() / "a.csv", "old");
    ::chmod((Work() / "a.csv").c_str(), 0444);
    Extract(WriteCrafted({{.name = "a.csv", .data = "first"}, {.name = "a.csv", .data = "second"}}));
    EXPECT_EQ(ReadFileBytes(Work() / "a.csv"), "second");
}

TEST_F(ZipArchiveTest, SetsModificationTimeFromDosDateAsLocalTime) {
    Extract(WriteCrafted({{.name = "a.csv", .data = "x"}}));
    EXPECT_EQ(ModificationTime(Work() / "a.csv"), LocalTimeOf(2024, 3, 15, 12, 34, 56));

    // 12:34:56 on a summer and a winter day, in a zone without summer time
    // (UTC+3) and in one with it (UTC+2 in summer, UTC+1 in winter).
    const std::uint16_t noon = (12 << 11) | (34 << 5) | (56 / 2);
    const std::uint16_t july15 = ((2024 - 1980) << 9) | (7 << 5) | 15;
    const std::uint16_t january15 = ((2024 - 1980) << 9) | (1 << 5) | 15;
    const struct {
        const char* zone;
        std::uint16_t date;
        std::time_t utc;
    } cases[] = {
        {"Europe/Moscow", july15, 1721036096},     // 09:34:56 UTC
        {"Europe/Berlin", july15, 1721039696},     // 10:34:56 UTC
        {"Europe/Berlin", january15, 1705318496},  // 11:34:56 UTC
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        if (!fs::exists(fs::path("/usr/share/zoneinfo") / c.zone)) {
            if (InCi())
                FAIL() << "the time zone data (tzdata) is not installed, and CI=true runs every case";
            GTEST_SKIP() << "the time zone data (tzdata) is not installed";
        }
        const EnvGuard tz("TZ", c.zone);
        fs::remove_all(Work());
        Extract(WriteCrafted({{.name = "a.csv", .data = "x", .dosTime = noon, .dosDate = c.date}}));
        EXPECT_EQ(ModificationTime(Work() / "a.csv"), c.utc);
    }
}

TEST_F(ZipArchiveTest, ReadOnlyAttributeGivesFileWithoutWritePermission) {
    const std::uint16_t unixHost = (3 << 8) | 30;
    Extract(WriteCrafted({
        {.name = "dos_ro.csv", .data = "1", .externalAttributes = 0x21},
        {.name = "dos_rw.csv", .data = "2", .externalAttributes = 0x20},
        {.name = "unix_ro.csv", .data = "3", .versionMadeBy = unixHost, .externalAttributes = 0100444u << 16},
        {.name = "unix_rw.csv", .data = "4", .versionMadeBy = unixHost, .externalAttributes = (0100644u << 16) | 0x01},
    }));
    auto writable = [&](const char* name) {
        struct stat st {};
        EXPECT_EQ(::stat((Work() / name).c_str(), &st), 0) << name;
        return (st.st_mode & 0222) != 0;
    };
    EXPECT_FALSE(writable("dos_ro.csv"));
    EXPECT_TRUE(writable("dos_rw.csv"));
    EXPECT_FALSE(writable("unix_ro.csv"));
    EXPECT_TRUE(writable("unix_rw.csv"));
}

TEST_F(ZipArchiveTest, EntriesFailingTheirChecksAreAskedAboutAndLeaveNoFile) {
    const std::string data = "id;name\r\n1;abc\r\n";
    struct Case {
        const char* label;
        CraftedEntry bad;
        std::string question;
    };
    const Case cases[] = {
        {"damaged deflate data",
         {.name = "bad.csv", .data = data, .rawCompressed = std::string("\xff\xff\xff\xff\xff\xff", 6)},
         kInvalidEntryQuestion},
        {"deflate data cut short",
         {.name = "bad.csv", .data = data, .rawCompressed = RawDeflate(data).substr(0, 5)},
         kInvalidEntryQuestion},
        {"wrong CRC-32", {.name = "bad.csv", .data = data, .crc = 0x12345678}, kInvalidEntryQuestion},
        {"stored CRC-32 wrong", {.name = "bad.csv", .data = data, .method = 0, .crc = 1}, kInvalidEntryQuestion},
        {"declared size too small", {.name = "bad.csv", .data = data, .uncompressedSize = 5}, kInvalidEntryQuestion},
        {"declared size too large", {.name = "bad.csv", .data = data, .uncompressedSize = 100}, kInvalidEntryQuestion},
        {"2 GiB declared",
         {.name = "bad.csv", .data = data, .uncompressedSize = 0x80000000u},
         TooLargeQuestion("bad.csv", "2048 MiB")},
        {"unknown method", {.name = "bad.csv", .data = data, .method = 12}, kInvalidEntryQuestion},
        {"method 9",
         {.name = "bad.csv", .data = data, .method = 9},
         "Deflate64 compression method is not supported - Native error: 00055" + std::string(kQuestionSuffix)},
        {"AES without encryption flag", {.name = "bad.csv", .data = data, .method = 99}, kInvalidEntryQuestion},
    };
    // Each case twice: with the sizes in the local header the entry is
    // decompressed whole, without them it is inflated as a stream.
    for (const Case& c : cases) {
        for (const bool localSizes : {true, false}) {
            SCOPED_TRACE(std::string(c.label) + (localSizes ? "" : ", no sizes in the local header"));
            fs::remove_all(Work());
            questions = ScriptedQuestions{};
            CraftedEntry bad = c.bad;
            bad.localSizes = localSizes;
            Extract(WriteCrafted({bad, {.name = "good.csv", .data = data}}));
            EXPECT_EQ(questions.failureTexts, std::vector<std::string>{c.question});
            EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"good.csv"});
            EXPECT_EQ(ReadFileBytes(Work() / "good.csv"), data);
        }
    }
}

// Entries beyond 16 MiB are written through a mapping of the output file
// rather than from memory; the same checks hold there.
TEST_F(ZipArchiveTest, LargeEntryIsWrittenWholeOrNotAtAll) {
    std::string data;
    while (data.size() <= (16u << 20))
        data += std::to_string(data.size()) + ";\xC8\xE2\xE0\xED\xEE\xE2;FW;77\r\n";
    Extract(WriteCrafted({{.name = "large.csv", .data = data}}));
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_TRUE(ReadFileBytes(Work() / "large.csv") == data);

    fs::remove_all(Work());
    Extract(WriteCrafted({{.name = "large.csv", .data = data, .crc = 0x12345678}}));
    EXPECT_EQ(questions.failureTexts, std::vector<std::string>{kInvalidEntryQuestion});
    EXPECT_FALSE(fs::exists(Work() / "large.csv"));
}

TEST_F(ZipArchiveTest, AesEntryIsAbandonedWithoutQuestion) {
    Extract(WriteCrafted({{.name = "aes.csv", .data = std::string(40, 'x'), .method = 99, .flags = 1}}));
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_TRUE(questions.passwordEntries.empty());
    EXPECT_TRUE(TreeOf(Work()).empty());
}

TEST_F(ZipArchiveTest, OversizedEntryWritesNothingAtAll) {
    // Refused before its folder or file is made; an older file stays.
    WriteFileBytes(Work() / "big.csv", "older");
    Extract(WriteCrafted({{.name = "big.csv", .data = "x", .uncompressedSize = 0x80000000u},
                          {.name = "sub/big.csv", .data = "x", .uncompressedSize = 0x80000000u}}));
    EXPECT_EQ(questions.failureTexts.size(), 2u);
    EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"big.csv"});
    EXPECT_EQ(ReadFileBytes(Work() / "big.csv"), "older");
}

TEST_F(ZipArchiveTest, OverlappingEntriesAreRefused) {
    const std::string bomb(200000, 'A');
    // The second and third entries point at the first one's bytes: each would
    // inflate the same data again. The long name of the first entry keeps the
    // sum of the compressed sizes within the archive's size.
    const std::string longName = "pad" + std::string(2000, 'x') + ".txt";
    const std::uint32_t first = 30 + static_cast<std::uint32_t>(longName.size());
    Extract(WriteCrafted({
        {.name = longName, .data = "", .method = 0},
        {.name = "a.csv", .data = bomb},
        {.name = "b.csv", .data = bomb, .localOffset = first},
        {.name = "c.csv", .data = bomb, .localOffset = first + 10},
        {.name = "d.csv", .data = "apart"},
    }));
    EXPECT_EQ(questions.failureTexts, std::vector<std::string>(3, kInvalidEntryQuestion));
    EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"d.csv"});
}

TEST_F(ZipArchiveTest, EntryReachingIntoCentralDirectoryIsRefused) {
    std::string bytes = CraftZip({{.name = "a.csv", .data = "abc", .method = 0}});
    // Let the entry claim the bytes of the directory as well: local and
    // central sizes both say 50 where the data holds 3.
    const std::string header("PK\x03\x04", 4);
    bytes[18] = 50;
    const std::size_t dir = bytes.rfind(std::string("PK\x01\x02", 4));
    bytes[dir + 20] = 50;
    WriteFileBytes(Src() / "reach.zip", bytes);
    Extract(Src() / "reach.zip");
    EXPECT_EQ(questions.failureTexts, std::vector<std::string>{kInvalidEntryQuestion});
    EXPECT_TRUE(TreeOf(Work()).empty());
}

TEST_F(ZipArchiveTest, RetryHandlesSameEntryAgainAndAbortEndsExtraction) {
    const CraftedEntry bad{.name = "bad.csv", .data = "x", .crc = 7};
    const CraftedEntry good{.name = "good.csv", .data = "y"};
    questions.failureAnswers = {EntryFailureAnswer::Retry, EntryFailureAnswer::Retry, EntryFailureAnswer::Ignore};
    Extract(WriteCrafted({bad, good}));
    EXPECT_EQ(questions.failureTexts.size(), 3u);
    EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"good.csv"});

    fs::remove_all(Work());
    questions = ScriptedQuestions{};
    questions.failureAnswers = {EntryFailureAnswer::Abort};
    Extract(WriteCrafted({bad, good, bad}));
    EXPECT_EQ(questions.failureTexts.size(), 1u);
    EXPECT_TRUE(TreeOf(Work()).empty());
}

// --- Names and links that could lead outside ---------------------------------

TEST_F(ZipArchiveTest, NamesLeadingOutsideAreSkipped) {
    std::vector<CraftedEntry> entries;
    for (const char* name : {"../evil.csv", "..\\evil.csv", "data/../../evil.csv", "/tmp/cadrix-evil.csv", "\\evil.csv",
                             "C:evil.csv", "C:\\evil.csv", "data//evil.csv", "\\\\server\\evil.csv"})
        entries.push_back({.name = name, .data = "evil"});
    entries.push_back({.name = "data/good.csv", .data = "good"});
    Extract(WriteCrafted(entries));
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_EQ(TreeOf(Work()), (std::vector<std::string>{"data/", "data/good.csv"}));
    EXPECT_FALSE(fs::exists("/tmp/cadrix-evil.csv"));
    EXPECT_EQ(TreeOf(Src()), std::vector<std::string>{"crafted.zip"});
}

// A "." step stays where it is: bsdtar keeps the "./" of the paths it was
// given, and such an archive must give the same files as any other.
TEST_F(ZipArchiveTest, DotStepsStayInsideTheFolder) {
    Extract(WriteCrafted({{.name = "./a_players.csv", .data = "players"},
                          {.name = "data/./a_team.csv", .data = "team"},
                          {.name = ".\\b.csv", .data = "b"}}));
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_EQ(TreeOf(Work()), (std::vector<std::string>{"a_players.csv", "b.csv", "data/", "data/a_team.csv"}));
    EXPECT_EQ(ReadFileBytes(Work() / "a_players.csv"), "players");
    EXPECT_EQ(ReadFileBytes(Work() / "data" / "a_team.csv"), "team");

    if (!ToolForRow("bsdtar", "bsdtar's \"./\""))
        return;
    fs::remove_all(Work());
    const fs::path content = Src() / "content";
    WriteFileBytes(content / "x_players.csv", "id;name;\r\n");
    RunIn(content, "bsdtar --format zip -cf ../dot.zip ./x_players.csv");
    Extract(Src() / "dot.zip");
    EXPECT_TRUE(questions.failureTexts.empty());
    EXPECT_EQ(ReadFileBytes(Work() / "x_players.csv"), "id;name;\r\n");
}

TEST_F(ZipArchiveTest, NeverWritesThroughSymbolicLinks) {
    fs::create_directories(Work());
    fs::create_directories(Src() / "outside");
    WriteFileBytes(Src() / "victim.csv", "victim");
    fs::create_directory_symlink(Src() / "outside", Work() / "link");
    fs::create_symlink(Src() / "victim.csv", Work() / "a.csv");
    Extract(WriteCrafted(
        {{.name = "link/x.csv", .data = "through folder link"}, {.name = "a.csv", .data = "replaces the link"}}));
    EXPECT_EQ(questions.failureTexts,
              std::vector<std::string>{"ZipFile: Cannot create directory \"" + (Work() / "link").string() +
                                       "\" - Native error: 00020" + std::string(kQuestionSuffix)});
    EXPECT_TRUE(fs::is_empty(Src() / "outside"));
    EXPECT_EQ(ReadFileBytes(Src() / "victim.csv"), "victim");
    EXPECT_FALSE(fs::is_symlink(Work() / "a.csv"));
    EXPECT_EQ(ReadFileBytes(Work() / "a.csv"), "replaces the link");

    // Nor between the root folder and BaseDir: a Tmp planted as a link.
    questions = ScriptedQuestions{};
    fs::create_directory_symlink(Src() / "outside", Work() / "Tmp");
    const ArchiveFile zip = ArchiveFile::Open(Src() / "crafted.zip");
    ExtractCsvEntries(zip.Archive(), Work() / "Tmp" / "old", questions, Work());
    ASSERT_EQ(questions.failures.size(), 2u);
    EXPECT_EQ(questions.failures[0].errorText,
              "ZipFile: Cannot create directory \"" + (Work() / "Tmp").string() + "\" - Native error: 00020");
    EXPECT_TRUE(fs::is_empty(Src() / "outside"));
}

TEST_F(ZipArchiveTest, TargetThatCannotBeCreatedIsError19WithTheSystemsReason) {
    fs::create_directories(Work() / "a.csv");
    Extract(WriteCrafted({{.name = "a.csv", .data = "x"}}));
    EXPECT_EQ(questions.failureTexts,
              std::vector<std::string>{"ZipFile: Cannot create file \"" + (Work() / "a.csv").string() +
                                       "\" - Native error: 00019" + std::string(kQuestionSuffix)});
    ASSERT_EQ(questions.failures.size(), 1u);
    EXPECT_EQ(questions.failures[0].entryName, "a.csv");
    EXPECT_EQ(questions.failures[0].systemReason, "Is a directory");
    EXPECT_FALSE(questions.failures[0].writeFailed);
}

// A write the system refuses (here: beyond the file size limit, as a full
// disk would) is asked about as error 19, marked as refused by the disk, and
// leaves no half-written file.
TEST_F(ZipArchiveTest, RefusedWriteFailsTheEntryAndLeavesNoFile) {
    const std::string big(64 * 1024, 'x');
    const fs::path archive = WriteCrafted({{.name = "small.csv", .data = "fits"}, {.name = "big.csv", .data = big}});
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit limit{16 * 1024, old.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    Extract(archive);
    std::signal(SIGXFSZ, oldHandler);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_EQ(questions.failures.size(), 1u);
    EXPECT_EQ(questions.failures[0].entryName, "big.csv");
    EXPECT_EQ(questions.failures[0].errorText,
              "ZipFile: Cannot create file \"" + (Work() / "big.csv").string() + "\" - Native error: 00019");
    EXPECT_EQ(questions.failures[0].systemReason, "File too large");
    EXPECT_TRUE(questions.failures[0].writeFailed);
    EXPECT_EQ(TreeOf(Work()), std::vector<std::string>{"small.csv"});
}

}  // namespace
}  // namespace cadrix
