#include "app/ctl/Script.h"

#include <cstdio>

#include "link/Decoder.h"
#include "panel/CommandNames.h"
#include "panel/Messages.h"
#include "panel/WireBytes.h"

namespace ctl {

namespace {

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
    return panel::shown(text);
}

// One command, from a word and, for send, the word after it.
bool addStep(const std::string& word, const std::string* code, Script& script,
             const std::string& where) {
    if (word == "status") {
        script.steps.push_back({"status", {}, true});
        return true;
    }
    if (word == "send") {
        if (!code || code->empty()) {
            script.problem = "send needs a CODE" + where + ", for example: send \"CR PRESSURE\".";
            return false;
        }
        const std::string bytes = panel::wireBytesOf(*code);
        script.steps.push_back({"send", bytes, projector::isQuery(bytes)});
        return true;
    }
    if (const auto command = panel::commandNamed(word)) {
        script.steps.push_back({word, std::string(command->code), command->query});
        return true;
    }
    script.problem = "unknown command \"" + readable(word) + "\"" + where +
                     ". kr60p-ctl list shows the commands.";
    return false;
}

bool readInput(std::istream& input, Script& script) {
    std::string line;
    int number = 0;
    bool any = false;
    while (std::getline(input, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        line.erase(0, start);
        any = true;
        const auto space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        const std::string where = " on line " + std::to_string(number) + " of standard input";
        if (word != "send" && !rest.empty()) {
            script.problem = "unknown command \"" + readable(line) + "\"" + where +
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
