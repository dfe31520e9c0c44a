#pragma once

// A print service on a loopback port that knows no printer: every IPP
// request gets a successful answer with no printer in it. A program whose
// CUPS_SERVER names Address() meets a running service that has no printers,
// without the system's own service.
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// A loopback port held bound but not listening: a connection to it is
// refused, as to a print service that is stopped.
class RefusingPort {
public:
    RefusingPort()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (m_socket >= 0 && ::bind(m_socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0
            && ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
            m_port = ntohs(addr.sin_port);
    }
    ~RefusingPort()
    {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    bool Bound() const { return m_port != 0; }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    int m_socket = -1;
    std::uint16_t m_port = 0;
};

class FakePrintService {
public:
    FakePrintService()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
            || ::listen(m_listener, 8) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~FakePrintService()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (std::thread& t : m_connections)
            t.join();
        if (m_listener >= 0)
            ::close(m_listener);
    }
    FakePrintService(const FakePrintService&) = delete;
    FakePrintService& operator=(const FakePrintService&) = delete;

    bool Listening() const { return m_port != 0; }
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    static bool Readable(int fd) { pollfd p{fd, POLLIN, 0}; return ::poll(&p, 1, 50) > 0; }

    void Serve()
    {
        while (!m_stop) {
            if (!Readable(m_listener))
                continue;
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            m_connections.emplace_back([this, client] {
                Answer(client);
                ::close(client);
            });
        }
    }

    // Answers the requests of one connection until the client closes it.
    void Answer(int client)
    {
        std::string in;
        while (!m_stop) {
            const size_t headEnd = in.find("\r\n\r\n");
            if (headEnd == std::string::npos) {
                if (!Receive(client, in))
                    return;
                continue;
            }
            const std::string head = in.substr(0, headEnd);
            const size_t bodyLength = HeaderNumber(head, "Content-Length:");
            if (head.find("100-continue") != std::string::npos && in.size() == headEnd + 4)
                Send(client, "HTTP/1.1 100 Continue\r\n\r\n");
            while (in.size() < headEnd + 4 + bodyLength)
                if (!Receive(client, in))
                    return;
            const std::string body = in.substr(headEnd + 4, bodyLength);
            in.erase(0, headEnd + 4 + bodyLength);
            const std::string answer = EmptyAnswer(body);
            Send(client, "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: " + std::to_string(answer.size())
                             + "\r\n\r\n" + answer);
        }
    }

    bool Receive(int client, std::string& in)
    {
        while (!m_stop && !Readable(client)) {
        }
        char buffer[4096];
        const ssize_t n = m_stop ? 0 : ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        in.append(buffer, static_cast<size_t>(n));
        return true;
    }

    static void Send(int client, const std::string& out) { (void)::send(client, out.data(), out.size(), MSG_NOSIGNAL); }

    static size_t HeaderNumber(const std::string& head, const char* name)
    {
        const size_t at = head.find(name);
        return at == std::string::npos ? 0 : std::stoul(head.substr(at + std::string(name).size()));
    }

    // IPP 2.0, successful-ok, the request's id, the operation attributes
    // every answer carries, and no printer.
    static std::string EmptyAnswer(const std::string& request)
    {
        std::string out{'\x02', '\x00', '\x00', '\x00'};
        out += request.size() >= 8 ? request.substr(4, 4) : std::string(4, '\0');
        out += '\x01';
        Attribute(out, 0x47, "attributes-charset", "utf-8");
        Attribute(out, 0x48, "attributes-natural-language", "en");
        out += '\x03';
        return out;
    }
    static void Attribute(std::string& out, char tag, const std::string& name, const std::string& value)
    {
        out += tag;
        Put16(out, name.size());
        out += name;
        Put16(out, value.size());
        out += value;
    }
    static void Put16(std::string& out, size_t n)
    {
        out += static_cast<char>((n >> 8) & 0xFF);
        out += static_cast<char>(n & 0xFF);
    }

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::vector<std::thread> m_connections; // one each, as a client may hold one open
};
