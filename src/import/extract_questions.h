#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cadrix {

enum class EntryFailureAnswer { Abort, Retry, Ignore };

inline constexpr std::string_view kEntryFailureSuffix = ". File processing error, possibly disk is full";

// One entry that failed, as the reader reports it to whoever answers.
struct EntryFailure {
    std::string entryName;     // as stored, decoded
    std::string errorText;     // the archive error's text
    std::string systemReason;  // the system's reason when a file operation failed, else empty
    bool writeFailed = false;  // the disk did not take the data: full, over its quota or failing

    // The whole message of the question box.
    std::string QuestionText() const { return errorText + std::string(kEntryFailureSuffix); }
};

// What the reader asks the user while it extracts. The window answers with
// message boxes; tests answer from a script; the command-line report answers
// by its own rules.
class ExtractQuestions {
public:
    virtual ~ExtractQuestions() = default;

    virtual EntryFailureAnswer AskEntryFailure(const EntryFailure& failure) = 0;

    // The password for an encrypted entry (`entryName` as stored, decoded), or
    // none when the user cancels. At most kMaxPasswordLength code points count.
    virtual std::optional<std::string> AskPassword(const std::string& entryName) = 0;
};

inline constexpr std::size_t kMaxPasswordLength = 255;

// Nobody to ask: failed entries are passed over and encrypted ones abandoned.
class UnattendedQuestions : public ExtractQuestions {
public:
    EntryFailureAnswer AskEntryFailure(const EntryFailure&) override { return EntryFailureAnswer::Ignore; }
    std::optional<std::string> AskPassword(const std::string&) override { return std::nullopt; }
};

}  // namespace cadrix
