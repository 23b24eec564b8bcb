// A small HTTP server of the test's own on 127.0.0.1: a free port, a bounded
// number of connections and a bounded lifetime, one fixed reply.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class HttpResponder {
public:
    explicit HttpResponder(std::string reply);
    ~HttpResponder();
    HttpResponder(const HttpResponder&) = delete;
    HttpResponder& operator=(const HttpResponder&) = delete;

    uint16_t port() const { return port_; }
    std::string url(const std::string& path) const;
    int requests() const { return requests_.load(); }
    std::string lastRequest();

    // "HTTP/1.1 <status>" with the headers and the body, closing the connection.
    static std::string Reply(const std::string& status, const std::string& body,
                             const std::string& headers = "Content-Type: text/xml\r\n");

private:
    void Serve();
    bool started_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::string reply_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex lock_;
    std::string lastRequest_;
    std::thread thread_;
};

// A loopback port where nothing listens.
uint16_t UnusedTcpPort();
