// PJLink on bytes and the KR60P's answers to it, on the fake port and the
// virtual clock: requests read or refused, the password's digest, the
// mapping against the decoder and the README, and the shared line.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "QueueFixture.h"
#include "link/ExchangeQueue.h"
#include "link/SharedLine.h"
#include "pjlink/Answers.h"
#include "pjlink/CommandTable.h"
#include "pjlink/Conversation.h"
#include "pjlink/Mapping.h"
#include "pjlink/Notifier.h"
#include "tests/support/FakeToolkit.h"
#include "vocabulary/Commands.h"
#include "vocabulary/Decoder.h"

namespace {

using pjlink::Conversation;

// Not MD5 nor SHA-256, but as good for the logic: which text was digested.
std::string fakeDigest(pjlink::Hash hash, std::string_view text) {
    std::string digest(text);
    digest.resize(hash == pjlink::Hash::Md5 ? 32 : 64, '#');
    return digest;
}
std::string fakeDigest(std::string_view text) {
    return fakeDigest(pjlink::Hash::Md5, text);
}
constexpr auto kDigest = [](pjlink::Hash hash, std::string_view text) {
    return fakeDigest(hash, text);
};

// What a conversation says back to the bytes, in order; "" for a request.
std::vector<std::string> said(Conversation& conversation, std::string_view bytes,
                              bool* refused = nullptr) {
    std::vector<std::string> out;
    const Conversation::Heard heard = conversation.hear(bytes);
    for (const auto& item : heard.items) {
        out.push_back(item.request ? "%" + std::string(1, item.request->version) +
                                         item.request->command + " " + item.request->parameter
                                   : item.answer);
    }
    if (refused) *refused = heard.refused;
    return out;
}

}  // namespace

TEST(PjlinkRequests, EachLineIsARequestOrTheErrorTheStandardGives) {
    struct Case {
        std::string line;
        std::string outcome;  // the request as read, or the answer line, or "" for none
    };
    for (const Case& c : std::vector<Case>{
             {"%1POWR ?", "%1POWR ?"},
             {"%1POWR 1", "%1POWR 1"},
             {"%1powr 0", "%1POWR 0"},
             {"%1INPT 21", "%1INPT 21"},
             {"%1AVMT 31", "%1AVMT 31"},
             {"%1INPT 31", "%1INPT=ERR2\r"},  // no digital input on a KR60P
             {"%1POWR 2", "%1POWR=ERR2\r"},
             {"%1POWR", "%1POWR=ERR2\r"},
             {"%1POWR?", "%1POWR=ERR2\r"},
             {"%1POWRx1", "%1POWR=ERR2\r"},  // no blank after the command
             {"%1POWR  ?", "%1POWR=ERR2\r"},
             {"%1NAME x", "%1NAME=ERR2\r"},
             {"%1XXXX ?", "%1XXXX=ERR1\r"},
             {"%1FOO ?", "%1FOO =ERR1\r"},
             {"%2POWR ?", "%2POWR=ERR1\r"},  // Class 1 only
             {"%2FREZ ?", "%2FREZ ?"},
             {"%2INNM ?21", "%2INNM ?21"},
             {"%2INNM ?31", "%2INNM=ERR2\r"},
             {"%2MVOL 1", "%2MVOL=ERR1\r"},  // no microphone
             {"%2SVOL ?", "%2SVOL=ERR2\r"},  // a step, not a query
             {"%2FREZ 2", "%2FREZ=ERR2\r"},
             {"%2AVMT ?", "%2AVMT=ERR1\r"},  // Class 1 only
             {"POWR ?", ""},
             {"%", ""},
             {"%x POWR ?", ""},
         }) {
        const pjlink::Reading reading = pjlink::readRequest(c.line);
        const std::string outcome =
            reading.request ? "%" + std::string(1, reading.request->version) +
                                  reading.request->command + " " + reading.request->parameter
                            : reading.answer.value_or("");
        EXPECT_EQ(outcome, c.outcome) << c.line;
    }
}

TEST(PjlinkConversation, ARequestSplitAtAnyPointIsReadTheSame) {
    const std::string digest = fakeDigest("1234abcdsecret");
    const std::string bytes = digest + "%1POWR ?\r%1INPT 12\r";
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        Conversation conversation(std::string("secret"), {"1234abcd", ""}, kDigest);
        EXPECT_EQ(conversation.greeting(), "PJLINK 1 1234abcd\r");
        std::vector<std::string> out = said(conversation, bytes.substr(0, cut));
        const std::vector<std::string> rest = said(conversation, bytes.substr(cut));
        out.insert(out.end(), rest.begin(), rest.end());
        EXPECT_EQ(out, (std::vector<std::string>{"%1POWR ?", "%1INPT 12"})) << "cut at " << cut;
    }
}

TEST(PjlinkConversation, TheFirstCommandMustCarryTheDigest) {
    struct Case {
        const char* what;
        std::optional<std::string> password;
        std::string bytes;
        std::vector<std::string> said;
        bool refused;
    };
    const std::string right = fakeDigest("00c0ffeepw");
    const std::string twice = right + "%1CLSS ?\r%1NAME ?\r" + right + "%1INF1 ?\r";
    // The higher level: the controller's random number (zeros, so that the
    // two numbers mixed are the gateway's own), then SHA-256.
    const std::string level = "PJLINK 2\r";
    const std::string offer = "PJLINK 2 " + std::string(32, 'f') + "\r";
    const std::string secure =
        std::string(32, '0') + fakeDigest(pjlink::Hash::Sha256, std::string(32, 'f') + "pw");
    std::string secureTwice = level + secure;
    secureTwice += "%1CLSS ?\r" + secure + "%1NAME ?\r";
    for (const Case& c : std::vector<Case>{
             {"no password asked", std::nullopt, "%1CLSS ?\r", {"%1CLSS ?"}, false},
             {"the right digest", "pw", right + "%1CLSS ?\r", {"%1CLSS ?"}, false},
             {"in upper case",
              "pw",
              "00C0FFEEPW" + right.substr(10) + "%1CLSS ?\r",
              {"%1CLSS ?"},
              false},
             {"then none, or again", "pw", twice, {"%1CLSS ?", "%1NAME ?", "%1INF1 ?"}, false},
             {"none", "pw", "%1CLSS ?\r%1NAME ?\r", {"PJLINK ERRA\r"}, true},
             {"a wrong one",
              "pw",
              fakeDigest("00c0ffeexx") + "%1CLSS ?\r",
              {"PJLINK ERRA\r"},
              true},
             {"a digest alone", "pw", right + "\r", {"PJLINK ERRA\r"}, true},
             {"the higher level",
              "pw",
              level + secure + "%2CLSS ?\r%1CLSS ?\r",
              {offer, "%2CLSS=ERR1\r", "%1CLSS ?"},
              false},
             {"the higher level, each time",
              "pw",
              secureTwice,
              {offer, "%1CLSS ?", "%1NAME ?"},
              false},
             {"the higher level, wrong",
              "pw",
              level + std::string(32, '1') + secure.substr(32) + "%1CLSS ?\r",
              {offer, "PJLINK ERRA\r"},
              true},
             {"the higher level, with MD5",
              "pw",
              level + right + "%1CLSS ?\r",
              {offer, "PJLINK ERRA\r"},
              true},
             {"a blank line first asks nothing",
              "pw",
              "\r\n" + right + "%1CLSS ?\r\n",
              {"%1CLSS ?"},
              false},
             {"lines ended by LF, CR LF and CR",
              std::nullopt,
              "%1CLSS ?\n%1NAME ?\r\n%1INF1 ?\r\n\n%1INF2 ?\r",
              {"%1CLSS ?", "%1NAME ?", "%1INF1 ?", "%1INF2 ?"},
              false},
             {"a wrong one before a later command",
              "pw",
              right + "%1CLSS ?\r" + fakeDigest("00c0ffeexx") + "%1NAME ?\r",
              {"%1CLSS ?", "PJLINK ERRA\r"},
              true},
         }) {
        Conversation conversation(c.password, {"00c0ffee", std::string(32, 'f')}, kDigest);
        bool refused = false;
        EXPECT_EQ(said(conversation, c.bytes, &refused), c.said) << c.what;
        EXPECT_EQ(refused, c.refused) << c.what;
    }
}

TEST(PjlinkConversation, ALineTooLongIsRefusedAndTheNextReadAsEver) {
    Conversation conversation(std::nullopt, {"00000000", ""}, kDigest);
    const std::string longName = "%1NAME " + std::string(200, 'x') + "\r";
    const std::string flood = std::string(1 << 20, 'A') + "\r";
    EXPECT_EQ(said(conversation, longName + "%1POWR ?\r"),
              (std::vector<std::string>{"%1NAME=ERR2\r", "%1POWR ?"}));
    EXPECT_EQ(said(conversation, flood + std::string("\x01\xff%1CLSS ?\r", 11)),
              (std::vector<std::string>{}));  // junk, then a line that starts with junk
    EXPECT_EQ(said(conversation, "%1CLSS ?\r"), (std::vector<std::string>{"%1CLSS ?"}));
}

// One table for the answers and the README; it must agree with the decoder.
TEST(PjlinkMapping, EveryStateInputAndMuteIsTheDecodersAndTheReadmeShowsThem) {
    std::int16_t pressure = 0;
    for (const pjlink::StateRow& row : pjlink::stateRows()) {
        const auto reading = projector::readReply("CR0", std::string(row.reply) + "\r", pressure);
        ASSERT_TRUE(reading) << row.reply;
        EXPECT_EQ(reading->text, row.state);
        EXPECT_EQ(row.errors.size(), 6u);
    }
    for (const pjlink::InputRow& row : pjlink::inputRows()) {
        EXPECT_NE(projector::commandNamed(row.command), nullptr) << row.command;
        const auto code = projector::codeOf(row.command);
        const auto reading = projector::readReply(
            "CR1", std::string(1, static_cast<char>('1' + code.back() - '5')) + "\r", pressure);
        ASSERT_TRUE(reading);
        EXPECT_EQ(reading->text, row.reading) << row.command;
    }
    for (const pjlink::MuteSetting& setting : pjlink::muteSettings()) {
        for (const auto name : setting.commands) EXPECT_NE(projector::commandNamed(name), nullptr);
    }
    std::ifstream readme(std::string(KR60P_SOURCE_DIR) + "/README.md");
    std::stringstream text;
    text << readme.rdbuf();
    EXPECT_NE(text.str().find(pjlink::mappingTables()), std::string::npos)
        << "README.md's tables differ from these:\n"
        << pjlink::mappingTables();
}

namespace {

class Gateway : public QueueFixture {
  protected:
    Gateway() {
        clock.add(&probe);
        link.addListener(line);
    }
    // The answer's text, once there is one.
    std::shared_ptr<std::optional<std::string>> ask(const std::string& line) {
        auto answer = std::make_shared<std::optional<std::string>>();
        const auto reading = pjlink::readRequest(line);
        answers.answer(*reading.request, [answer](const pjlink::Response& response) {
            *answer = response ? *response : std::string(pjlink::errorText(response.error()));
        });
        return answer;
    }
    fake::Timer probe{clock, 0};
    projector::SharedLine line{queue, [this] { return clock.now(); }, probe};
    pjlink::Answers answers{line, {"hall-3", "ORVA", "KR60P", "test"}};
};

}  // namespace

TEST_F(Gateway, ManyAskingTheSameAtOnceShareOneExchangeAndASecondOfItsAnswer) {
    auto first = ask("%1POWR ?");
    auto second = ask("%1POWR ?");
    auto errors = ask("%1ERST ?");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});
    port.deliver("28\r");
    EXPECT_EQ(**first, "2");
    EXPECT_EQ(**second, "2");
    EXPECT_EQ(**errors, "001000");
    clock.advance(900);
    EXPECT_EQ(*ask("%1POWR ?"), "2");  // from the answer
    EXPECT_TRUE(wire().empty());
    clock.advance(100);
    auto later = ask("%1POWR ?");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});  // a second old: asked again
    port.deliver("00\r");
    EXPECT_EQ(**later, "1");
    // A command makes every answer before it stale, even one asked before it.
    auto input = ask("%1INPT 21");
    EXPECT_EQ(wire(), std::vector<std::string>{"C07\r"});  // the power from the answer
    auto after = ask("%1POWR ?");
    port.deliver("\x06");
    EXPECT_EQ(**input, "OK");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});
    port.deliver("00\r");
    EXPECT_EQ(**after, "1");
    EXPECT_EQ(line.exchanges(), 4u);
}

TEST_F(Gateway, WhatTheProjectorWouldIgnoreIsRefusedAsNotNow) {
    struct Case {
        const char* what;
        std::string request;
        std::vector<std::pair<std::string, std::string>> exchanges;  // line sent, reply
        std::string answer;
    };
    for (const Case& c : std::vector<Case>{
             {"on while cooling", "%1POWR 1", {{"CR0\r", "20\r"}}, "ERR3"},
             {"on in standby", "%1POWR 1", {{"CR0\r", "80\r"}, {"C00\r", "\x06"}}, "OK"},
             {"off while warming up, ignored",
              "%1POWR 0",
              {{"CR0\r", "40\r"}, {"C01\r", "\x06"}, {"CR0\r", "40\r"}},
              "ERR3"},
             {"off while warming up, heeded",
              "%1POWR 0",
              {{"CR0\r", "40\r"}, {"C01\r", "\x06"}, {"CR0\r", "20\r"}},
              "OK"},
             {"an input in standby", "%1INPT 11", {{"CR0\r", "80\r"}}, "ERR3"},
             {"an input while cooling", "%1INPT 11", {{"CR0\r", "24\r"}}, "ERR3"},
             {"a mute in standby", "%1AVMT 31", {{"CR0\r", "81\r"}}, "ERR3"},
             {"both mutes on",
              "%1AVMT 31",
              {{"CR0\r", "00\r"}, {"C0D\r", "\x06"}, {"C0B\r", "\x06"}},
              "OK"},
             {"the mutes in standby", "%1AVMT ?", {{"CRA\r", "FF\r"}}, "ERR3"},
             {"input mode 4", "%1INPT ?", {{"CR1\r", "4\r"}}, "ERR3"},
             {"two lamps, one lit",
              "%1LAMP ?",
              {{"CR3\r", "01234\r"}, {"CR7\r", "01\r"}},
              "1234 1 1234 0"},
             {"one lamp", "%1LAMP ?", {{"CR3\r", "00077\r"}, {"CR7\r", "22\r"}}, "77 1"},
             {"no reply", "%1POWR ?", {{"CR0\r", ""}}, "ERR4"},
             {"an unreadable reply", "%1ERST ?", {{"CR0\r", "99\r"}}, "ERR4"},
             {"no acknowledgement", "%1INPT 12", {{"CR0\r", "00\r"}, {"C06\r", "?\r"}}, "ERR4"},
             {"no serial number", "%2SNUM ?", {}, ""},
             {"filter hours not counted", "%2FILT ?", {}, "0"},
             {"the software", "%2SVER ?", {{"CR9\r", "KR60P Ver1.40\r"}}, "KR60P Ver1.40"},
             {"an input's name", "%2INNM ?21", {}, "Video"},
             {"no signal", "%2IRES ?", {{"CRA\r", "80\r"}}, "-"},
             {"a signal", "%2IRES ?", {{"CRA\r", "01\r"}}, "*"},
             {"a volume step", "%2SVOL 1", {{"CR0\r", "00\r"}, {"C09\r", "\x06"}}, "OK"},
             {"a volume step in standby", "%2SVOL 0", {{"CR0\r", "80\r"}}, "ERR3"},
             {"a freeze not yet seen", "%2FREZ ?", {}, "ERR3"},
             {"a freeze", "%2FREZ 1", {{"CR0\r", "00\r"}, {"C43\r", "\x06"}}, "OK"},
             {"the freeze set", "%2FREZ ?", {}, "1"},
             {"a freeze off not taken", "%2FREZ 0", {{"CR0\r", "00\r"}, {"C44\r", "?\r"}}, "ERR4"},
             {"the freeze as the projector took it", "%2FREZ ?", {}, "1"},
         }) {
        clock.advance(5000);  // nothing from the case before
        wire();
        auto answer = ask(c.request);
        for (const auto& [sent, reply] : c.exchanges) {
            EXPECT_EQ(wire(), std::vector<std::string>{sent}) << c.what;
            if (reply.empty()) {
                clock.advance(500);
            } else {
                port.deliver(reply);
            }
        }
        EXPECT_EQ(answer->value_or("(none)"), c.answer) << c.what;
        EXPECT_TRUE(wire().empty()) << c.what;
    }
}

// Every row of the command table is read and answered, for each parameter
// it takes, by a projector that is on and answers everything.
TEST_F(Gateway, EveryCommandOfTheTableIsAnsweredForEachOfItsParameters) {
    const std::map<std::string, std::string> replies{
        {"CR0\r", "00\r"},    {"CR1\r", "1\r"},  {"CRA\r", "00\r"},
        {"CR3\r", "01234\r"}, {"CR7\r", "01\r"}, {"CR9\r", "KR60P Ver1.40\r"}};
    for (const pjlink::CommandRow& row : pjlink::commandTable()) {
        for (const std::string_view parameter : row.parameters) {
            const std::string line = "%" + std::string(1, row.version) + std::string(row.command) +
                                     " " + std::string(parameter);
            SCOPED_TRACE(line);
            clock.advance(5000);
            ASSERT_TRUE(pjlink::readRequest(line).request);
            auto answer = ask(line);
            for (int exchanges = 0; !*answer && exchanges < 5; ++exchanges) {
                for (const std::string& sent : wire()) {
                    const auto reply = replies.find(sent);
                    port.deliver(reply != replies.end() ? reply->second : "\x06");
                }
            }
            ASSERT_TRUE(answer->has_value());
            EXPECT_NE(**answer, "ERR1");
            EXPECT_NE(**answer, "ERR2");
        }
    }
}

TEST_F(Gateway, WhileTheDeviceIsAwayWhatNeedsItFailsAtOnceAndWhatDoesNotIsAnswered) {
    auto before = ask("%1POWR ?");
    port.deliver("00\r");
    EXPECT_EQ(**before, "1");
    wire();
    port.unplug();  // and the answer of a moment ago with it
    EXPECT_EQ(*ask("%1POWR ?"), "ERR4");
    EXPECT_EQ(*ask("%1NAME ?"), "hall-3");
    EXPECT_EQ(*ask("%1INST ?"), "11 12 21");
    EXPECT_EQ(*ask("%1CLSS ?"), "2");
    EXPECT_TRUE(wire().empty());
    port.plugIn();
    clock.advance(1000);  // looked for, found
    auto power = ask("%1POWR ?");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});
    port.deliver("80\r");
    EXPECT_EQ(**power, "0");
}

TEST_F(Gateway, ADeviceAbsentAtTheStartIsLookedForUntilItComes) {
    fake::SerialPort absent;
    absent.setDevice(1, "/dev/ttyUSB9");
    absent.missingDevices = {"/dev/ttyUSB9"};
    projector::Port startLink{absent, reconnect};
    startLink.start(projector::Port::WhenAbsent::KeepLooking);
    EXPECT_EQ(startLink.state(), projector::PortState::Lost);
    absent.missingDevices.clear();
    clock.advance(1000);
    EXPECT_EQ(startLink.state(), projector::PortState::Open);
}

namespace {

class Notifications : public Gateway {
  protected:
    Notifications() {
        clock.add(&poll);
        link.addListener(notifier);
        notifier.setListening(true);  // asks at once: what it first learns is no change
        EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});
        port.deliver("80\r");
    }
    // Someone else on the line asks a status query and gets this reply.
    // Whatever else is on the wire (the notifier's own poll) hears the same.
    void seen(const std::string& code, const std::string& reply) {
        line.exchange(code, projector::Expect::Line, [](const projector::Answer&) {});
        port.deliver(reply);
        for (int lines = 0; lines < 4 && !wire().empty(); ++lines) port.deliver(reply);
    }
    // A projector that answers the poll with this for a while.
    void answering(int ms, const std::string& reply) {
        for (int passed = 0; passed < ms; passed += 100) {
            clock.advance(100);
            if (!wire().empty()) port.deliver(reply);
        }
    }

    fake::Timer poll{clock, 0};
    std::vector<std::string> told;
    pjlink::Notifier notifier{line, poll, [this] { return clock.now(); },
                              [this](const std::string& text) { told.push_back(text); }};
};

}  // namespace

TEST_F(Notifications, AChangeSeenOnceIsToldOnceAndAFlappingOneAtMostOnceASecond) {
    seen("CR0", "00\r");  // the panel, on the share, sees it on
    seen("CR0", "00\r");
    EXPECT_EQ(told, std::vector<std::string>{"%2POWR=1\r"});
    told.clear();
    for (int i = 0; i < 30; ++i) {  // ten seconds of flapping
        clock.advance(333);
        wire();
        seen("CR0", i % 2 == 0 ? "08\r" : "00\r");
    }
    answering(3000, "00\r");
    const auto count = [&](const std::string& head) {
        return std::count_if(told.begin(), told.end(),
                             [&](const std::string& line) { return line.starts_with(head); });
    };
    EXPECT_LE(count("%2ERST="), 11);
    EXPECT_EQ(count("%2POWR="), 0);  // both states are on
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), "%2ERST=000000\r");  // where it settled
}

TEST_F(Notifications, ACommandReadsAgainWhatItChangedAndALostDeviceIsAnError) {
    line.exchange("C01", projector::Expect::Ack, [](const projector::Answer&) {});
    wire();
    port.deliver("\x06");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR0\r"});  // the power, at once
    port.deliver("20\r");
    EXPECT_EQ(told, std::vector<std::string>{"%2POWR=2\r"});
    told.clear();
    seen("CR1", "1\r");
    line.exchange("C07", projector::Expect::Ack, [](const projector::Answer&) {});
    wire();
    port.deliver("\x06");
    EXPECT_EQ(wire(), std::vector<std::string>{"CR1\r"});
    port.deliver("3\r");
    EXPECT_EQ(told, std::vector<std::string>{"%2INPT=21\r"});
    seen("CR0", "00\r");
    port.unplug();
    EXPECT_EQ(told.back(), "%2ERST=000002\r");
}
