#pragma once
// The far ends of network devices for the tests: a free port, a listener
// that never completes a connection, and ser2net, the device server
// technicians run, started in the foreground in front of a pseudo-terminal.

#include <QProcess>
#include <QTemporaryDir>
#include <string>
#include <vector>

// A TCP port on the loopback that nothing listens on now.
int freePort();

// Listens, but its queue is full and it never accepts: a connection to it
// is never made.
class StalledListener {
  public:
    StalledListener();
    ~StalledListener();
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;
    int port() const { return port_; }

  private:
    int listener_ = -1;
    std::vector<int> queued_;
    int port_ = 0;
};

class Ser2net {
  public:
    enum class Mode { Raw, Rfc2217 };
    // Serves `device` on a free port, its line at `lineSettings`
    // ("4800n81").
    Ser2net(Mode mode, const std::string& device, const std::string& lineSettings);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    static bool installed();
    // tcp://127.0.0.1:PORT or rfc2217://127.0.0.1:PORT
    std::string address() const;
    // False when it did not come up.
    bool start();
    void stop();

  private:
    Mode mode_;
    int port_;
    QTemporaryDir folder_;
    QProcess process_;
};
