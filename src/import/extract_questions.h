#pragma once

#include <optional>
#include <string>

namespace cadrix {

enum class EntryFailureAnswer { Abort, Retry, Ignore };

// What the reader asks the user while it extracts. The window answers with
// message boxes; tests answer from a script; the command-line report never asks.
class ExtractQuestions {
public:
    virtual ~ExtractQuestions() = default;

    // One entry failed; `text` is the whole message of the box (error text and
    // ". File processing error, possibly disk is full").
    virtual EntryFailureAnswer AskEntryFailure(const std::string& text) = 0;

    // The password for an encrypted entry (`entryName` as stored, decoded), or
    // none when the user cancels. At most kMaxPasswordLength code points count.
    virtual std::optional<std::string> AskPassword(const std::string& entryName) = 0;
};

inline constexpr std::size_t kMaxPasswordLength = 255;

// Nobody to ask: failed entries are passed over and encrypted ones abandoned.
class UnattendedQuestions : public ExtractQuestions {
public:
    EntryFailureAnswer AskEntryFailure(const std::string&) override { return EntryFailureAnswer::Ignore; }
    std::optional<std::string> AskPassword(const std::string&) override { return std::nullopt; }
};

}  // namespace cadrix
