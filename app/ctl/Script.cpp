#include "app/ctl/Script.h"

#include <cstdio>

#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"
#include "vocabulary/Sentences.h"
#include "vocabulary/WireBytes.h"

namespace ctl {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A word as a person can read it: shortened, control and non-ASCII bytes
// written as \xNN.
std::string readable(const std::string& word) {
    std::string text;
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return projector::shown(text);
}

std::string lowered(std::string word) {
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return word;
}

constexpr std::string_view kBlanks = " \t\r";

std::string_view trimmed(std::string_view text) {
    const auto start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

// A code written in quotes, as on a command line, stands for what is inside.
std::string_view unquoted(std::string_view code) {
    if (code.size() >= 2 && (code.front() == '"' || code.front() == '\'') &&
        code.back() == code.front()) {
        return code.substr(1, code.size() - 2);
    }
    return code;
}

// One command, from a word and, for send, the word after it. Names are read
// without regard to case.
bool addStep(const std::string& given, const std::string* code, Script& script,
             const std::string& where) {
    const std::string word = lowered(given);
    if (word == "status") {
        script.steps.push_back({"status", {}, projector::Expect::Line});
        return true;
    }
    if (word == "send") {
        if (!code || code->empty()) {
            script.problem = "send needs a CODE" + where + ", for example: send \"CR PRESSURE\".";
            return false;
        }
        const std::string bytes = projector::wireBytesOf(*code);
        if (bytes.size() > kLongestCode) {
            script.problem = "the CODE of send" + where + " is " + std::to_string(bytes.size()) +
                             " characters long; the longest is " + std::to_string(kLongestCode) +
                             ".";
            return false;
        }
        // A typed code that is no known query may be answered either way.
        script.steps.push_back(
            {"send", bytes,
             projector::isQuery(bytes) ? projector::Expect::Line : projector::Expect::Either});
        return true;
    }
    if (const projector::Command* command = projector::commandNamed(word)) {
        script.steps.push_back(
            {word, std::string(command->code),
             projector::isQuery(command->code) ? projector::Expect::Line : projector::Expect::Ack});
        return true;
    }
    script.problem = "unknown command \"" + readable(given) + "\"" + where +
                     ". kr60p-ctl list shows the commands.";
    return false;
}

// One command a line, as a person types it: blanks around it, a byte-order
// mark, Windows line ends, empty lines and # comments do not count.
bool readInput(std::istream& input, Script& script) {
    std::string line;
    int number = 0;
    bool any = false;
    while (std::getline(input, line)) {
        ++number;
        std::string_view text = line;
        if (number == 1 && text.starts_with(kByteOrderMark)) text.remove_prefix(3);
        if (const auto comment = text.find('#');
            comment != std::string_view::npos &&
            (comment == 0 || kBlanks.find(text[comment - 1]) != std::string_view::npos)) {
            text = text.substr(0, comment);
        }
        text = trimmed(text);
        if (text.empty()) continue;
        any = true;
        const auto blank = text.find_first_of(kBlanks);
        const std::string word(text.substr(0, blank));
        const std::string rest(
            blank == std::string_view::npos ? "" : unquoted(trimmed(text.substr(blank))));
        const std::string where = " on line " + std::to_string(number) + " of standard input";
        if (lowered(word) != "send" && !rest.empty()) {
            script.problem = "unknown command \"" + readable(std::string(text)) + "\"" + where +
                             ". kr60p-ctl list shows the commands.";
            return false;
        }
        if (word == "-") {
            script.problem = "\"-\" cannot be given" + where + ".";
            return false;
        }
        if (!addStep(word, &rest, script, where)) return false;
    }
    if (!any) script.problem = "no command on standard input.";
    return any;
}

}  // namespace

Script readScript(const std::vector<std::string>& words, std::istream& input) {
    Script script;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "-") {
            if (!readInput(input, script)) return script;
            continue;
        }
        const std::string* code = word == "send" && i + 1 < words.size() ? &words[++i] : nullptr;
        if (!addStep(word, code, script, "")) return script;
    }
    return script;
}

}  // namespace ctl
