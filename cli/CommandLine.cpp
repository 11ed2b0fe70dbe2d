#include "cli/CommandLine.h"

#include <algorithm>

void CommandLine::addOption(OptionSpec option)
{
    options_.push_back(std::move(option));
}

const OptionSpec *CommandLine::find(const std::string &name) const
{
    const auto it = std::find_if(options_.begin(), options_.end(),
        [&](const OptionSpec &option) { return option.name == name; });
    return it == options_.end() ? nullptr : &*it;
}

void CommandLine::parse(const std::vector<std::string> &args,
    const std::function<void(const std::string &)> &positional) const
{
    bool optionsEnded = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string &arg = args[k];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const OptionSpec *option = find(name);
        if (!option)
            throw UsageError("オプション '" + name + "' はありません");
        if (option->valueName.empty()) {
            if (equals != std::string::npos)
                throw UsageError("オプション '" + name + "' は値をとりません");
            option->apply(std::string());
        } else if (equals != std::string::npos) {
            option->apply(arg.substr(equals + 1));
        } else if (k + 1 < args.size()) {
            option->apply(args[++k]);
        } else {
            throw UsageError(
                "オプション '" + name + "' の後に " + option->valueName + " を指定してください");
        }
    }
}

std::string CommandLine::optionsHelp() const
{
    std::string text;
    for (const OptionSpec &option : options_) {
        std::string head = "  " + option.name;
        if (!option.valueName.empty())
            head += " " + option.valueName;
        head.resize(std::max<std::size_t>(head.size() + 1, 26), ' ');
        text += head + option.help + "\n";
    }
    return text;
}
