#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line the user got wrong; what() is the Japanese explanation.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One option: "--name VALUE", "--name=VALUE" (long names only) or, without a
// value name, a flag. `apply` receives the value (empty for a flag) and may
// throw UsageError for a value it does not accept.
struct OptionSpec {
    std::string name; // "--dims", "-o"
    std::string valueName; // "N"; empty for a flag
    std::string help; // one line of help, Japanese / English
    std::function<void(const std::string &value)> apply;
};

// A table of options that several parts of a tool can add to, and the reader
// of one command line against it. The value after an option is taken as it
// stands, even when it begins with "-" (so "--dims -1" passes -1). "--" ends
// the options; every later argument is positional.
class CommandLine {
public:
    void addOption(OptionSpec option);

    // Applies every option in order and hands each other argument to
    // `positional`. Throws UsageError.
    void parse(const std::vector<std::string> &args,
        const std::function<void(const std::string &)> &positional) const;

    // One line per option: the name, its value name and its help.
    std::string optionsHelp() const;

private:
    const OptionSpec *find(const std::string &name) const;

    std::vector<OptionSpec> options_;
};
