#pragma once
// A device server busy with another client, as the panel meets it on a
// switch to COM2: one box that quotes what the server said, and none of it
// shown as data.

#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTcpSocket>
#include <string>

#include "PanelWindow.h"
#include "tests/support/PtyPeer.h"

// Connects a client of the test's own to a tcp:// address on the loopback.
inline bool connectTo(QTcpSocket& client, const std::string& address) {
    client.connectToHost("127.0.0.1",
                         static_cast<quint16>(std::stoi(address.substr(address.rfind(':') + 1))));
    return client.waitForConnected(5'000);
}

inline ::testing::AssertionResult switchingToItSaysBusy(const std::string& address) {
    QTcpSocket otherClient;
    if (!connectTo(otherClient, address)) {
        return ::testing::AssertionFailure() << "no other client";
    }
    PtyPeer spare;
    PanelWindow panel(spare.devicePath(), address);
    panel.click(names::Com);
    panel.find<QRadioButton>(names::Com2)->click();
    if (!waitFor([&] { return !panel.warnings.empty(); })) {
        return ::testing::AssertionFailure() << "no box";
    }
    const std::string& box = panel.warnings.front();
    if (box.find("is busy: it closed the connection at once, saying \"Port already in use\"") ==
        std::string::npos) {
        return ::testing::AssertionFailure() << box;
    }
    if (!panel.text(names::ReceivedTrace).isEmpty()) {
        return ::testing::AssertionFailure()
               << "shown as data: " << panel.text(names::ReceivedTrace).toStdString();
    }
    return ::testing::AssertionSuccess();
}
