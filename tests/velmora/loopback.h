// A small SNTP time server of the test's own on 127.0.0.1: a free UDP port, a
// lifetime of a few seconds, a bounded number of requests. The HTTP time
// server is the shared loopback responder.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "tests/support/http_responder.h"

namespace velmora_test {

class SntpResponder {
public:
    // Answers every request with the reply bytes (none: stays silent). As a
    // server does, it copies the request's transmit time into the reply's
    // originate field, unless echo is off.
    explicit SntpResponder(std::string reply, bool echo = true);
    ~SntpResponder();
    SntpResponder(const SntpResponder&) = delete;
    SntpResponder& operator=(const SntpResponder&) = delete;

    // Before each answer, this reply (echoed alike) goes to the client from
    // another port: a datagram from someone other than the server.
    void ForgeFirst(std::string reply) {
        std::lock_guard<std::mutex> hold(lock_);
        forged_ = std::move(reply);
    }

    uint16_t port() const { return port_; }
    int requests() const { return requests_.load(); }
    std::string lastRequest();

private:
    void Serve();
    SocketLayer layer_;
    SOCKET socket_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::string reply_;
    bool echo_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex lock_;
    std::string lastRequest_;
    std::string forged_;
    std::thread thread_;
};

// A 48-byte SNTP reply: leap 0, the version and mode given, stratum, and the
// receive and transmit timestamps (both the time given).
std::string SntpReply(uint32_t seconds, uint32_t fraction, int version = 4, int mode = 4, int stratum = 2,
                      int leap = 0);

// A UDP port on 127.0.0.1 where nothing listens (bound, read and released).
uint16_t ClosedUdpPort();

}  // namespace velmora_test
