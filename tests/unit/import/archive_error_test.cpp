#include "import/archive_error.h"

#include <gtest/gtest.h>

namespace cadrix {
namespace {

TEST(ArchiveError, FormatsNativeCodeAsFiveDigitsAfterComponentName) {
    EXPECT_EQ(FormatArchiveErrorText("Archive is damaged. Open failed", ArchiveErrorCode::ArchiveDamaged,
                                     ComponentName::Shown),
              "ZipFile: Archive is damaged. Open failed - Native error: 00048");
    EXPECT_EQ(std::string(ArchiveError::SizesExceedArchive().what()),
              "Archive is damaged. Open failed - Native error: 00057");
    EXPECT_EQ(ArchiveError::CannotCreateDirectory("/w/Tmp/old/data").NativeCode(), 20);
    EXPECT_EQ(std::string(ArchiveError::CannotCreateDirectory("/w/Tmp/old/data").what()),
              "ZipFile: Cannot create directory \"/w/Tmp/old/data\" - Native error: 00020");
    EXPECT_EQ(std::string(FileOpenError("/home/m/a.zip").what()), "Cannot open file /home/m/a.zip");
}

}  // namespace
}  // namespace cadrix
