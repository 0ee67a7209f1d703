#pragma once

#include <QStringList>
#include <ostream>
#include <stdexcept>

// kultbuh-db: makes, checks, queries, backs up and restores database files of the program.
namespace kb::tools {

// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the database or the statement failed, or the check found a fault
inline constexpr int kExitUsage = 2;   // the command line is wrong

// A command line the tool cannot take; the message says what is wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs the tool on its arguments (without the program name). Normal output
// goes to out, messages to err, both UTF-8. Never throws.
int run(const QStringList& args, std::ostream& out, std::ostream& err);

// The usage text printed with every usage error.
const char* usage();

} // namespace kb::tools
