// A small HTTP server of the test's own on 127.0.0.1: a free port, a bounded
// number of connections and a bounded lifetime, one fixed reply to every
// connection.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// Starts Windows Sockets for the test's own sockets.
class SocketLayer {
public:
    SocketLayer();
    ~SocketLayer();
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

private:
    bool started_ = false;
};

// True when the socket has something to read (or a connection to accept)
// within ms milliseconds.
bool SocketReadable(SOCKET s, long ms);

class HttpResponder {
public:
    // Sends the reply text as it stands to every connection, after an
    // optional delay; with trickleMs the part behind the header block follows
    // one byte at a time, that many milliseconds apart.
    explicit HttpResponder(std::string reply, DWORD delayMs = 0, DWORD trickleMs = 0);
    ~HttpResponder();
    HttpResponder(const HttpResponder&) = delete;
    HttpResponder& operator=(const HttpResponder&) = delete;

    // From now on the reply goes out one byte every ms milliseconds.
    void Trickle(DWORD ms) { trickleMs_ = ms; }

    uint16_t port() const { return port_; }
    std::string url(const std::string& path) const;
    int requests() const { return requests_.load(); }
    std::string lastRequest();

    // "HTTP/1.1 <status>" with the headers and the body, closing the connection.
    static std::string Reply(const std::string& status, const std::string& body,
                             const std::string& headers = "Content-Type: text/xml\r\n");

private:
    void Serve();
    SocketLayer layer_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::string reply_;
    DWORD delayMs_;
    std::atomic<DWORD> trickleMs_{0};
    DWORD bodyTrickleMs_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex lock_;
    std::string lastRequest_;
    std::thread thread_;
};

// A loopback TCP port where nothing listens (bound, read and released).
uint16_t UnusedTcpPort();
