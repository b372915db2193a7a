#include "common/program_options.h"

#include "common/program_texts.h"

namespace portmaven::common {

std::optional<int> RunScriptOption(std::span<const std::u16string> arguments,
                                   const ScriptAnswers& answers) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    std::optional<std::u16string> answer;
    if (arguments.front() == u"--list-ports") {
        answer = answers.portList();
    } else if (arguments.front() == u"--help") {
        answer = kCommandLineHelpText;
    } else {
        return std::nullopt;
    }
    return answer && answers.write(*answer) ? kScriptSuccess : kScriptFailure;
}

} // namespace portmaven::common
