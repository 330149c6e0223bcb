#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qorvid {

// A command line of the system's form turned into a program and its arguments.
struct ArgumentVector {
    std::string program;
    std::vector<std::string> args; // without the program
};

// Splits a command line the way a Windows process start reads it: blanks separate
// arguments, double quotes group and are removed. Backslashes are ordinary characters
// here, since they may be part of a file name. An unquoted program path with blanks
// is resolved by trying the longest blank-separated prefix that names an existing file.
ArgumentVector splitCommandLine(std::string_view line,
                                const std::function<bool(const std::string&)>& isFile = {});

// A file name that the quoted command-line form cannot carry.
bool canQuote(std::string_view path);

} // namespace qorvid
