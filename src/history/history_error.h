#pragma once

#include <stdexcept>
#include <string>

namespace cadrix {

// A failure of the history database: its text names the database file and
// the reason, ready for the user. `Code` is SQLite's primary result code, or
// 0 for a refusal of the history's own (a newer schema, a foreign file).
class HistoryError : public std::runtime_error {
public:
    HistoryError(const std::string& text, int code = 0) : std::runtime_error(text), m_code(code) {}
    int Code() const { return m_code; }

private:
    int m_code;
};

}  // namespace cadrix
