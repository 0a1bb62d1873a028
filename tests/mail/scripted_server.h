#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace hinagiku::testing {

// A TCP server on 127.0.0.1 that plays a script: the first reply when a
// client connects, then one reply for each line the client sends (after a
// "354" reply, for the whole message up to its "." line). Replies hold
// their own CR LF. Everything received is kept.
class ScriptedServer : public QObject {
  public:
    struct Script {
        std::vector<std::string> replies;
        bool bytePerSegment = false;  // every byte in a write of its own, from the event loop
        bool silent = false;          // accept and never answer
        long long flood = 0;          // bytes without CR LF sent after connecting, then close
    };

    explicit ScriptedServer(Script script) : script_(std::move(script)) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    quint16 port() const { return server_.serverPort(); }
    int connections() const { return connections_; }
    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<std::string>& messages() const { return messages_; }
    bool sawLine(const std::string& prefix) const {
        for (const auto& l : lines_) {
            if (l.rfind(prefix, 0) == 0)
                return true;
        }
        return false;
    }

  private:
    void accept() {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            ++connections_;
            socket_ = s;
            next_ = 0;
            QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
            if (script_.flood > 0) {
                QObject::connect(s, &QTcpSocket::bytesWritten, this, [this, s] { flood(s); });
                flood(s);
                continue;
            }
            if (!script_.silent)
                reply(s);
        }
    }
    void flood(QTcpSocket* s) {
        if (s->bytesToWrite() > 1 << 20)
            return;
        if (sent_ >= script_.flood) {
            if (s->bytesToWrite() == 0)
                s->disconnectFromHost();
            return;
        }
        const std::string chunk(256 * 1024, 'x');
        sent_ += static_cast<long long>(chunk.size());
        s->write(chunk.data(), static_cast<qint64>(chunk.size()));
    }
    void read(QTcpSocket* s) {
        buffer_ += s->readAll().toStdString();
        std::size_t lf;
        while ((lf = buffer_.find('\n')) != std::string::npos) {
            std::string line = buffer_.substr(0, lf);
            buffer_.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (inData_) {
                if (line == ".") {
                    inData_ = false;
                    messages_.push_back(message_);
                    message_.clear();
                    if (!script_.silent)
                        reply(s);
                } else {
                    message_ += line + "\r\n";
                }
                continue;
            }
            lines_.push_back(line);
            if (!script_.silent)
                reply(s);
        }
    }
    void reply(QTcpSocket* s) {
        if (next_ >= script_.replies.size())
            return;
        const std::string text = script_.replies[next_++];
        if (text.rfind("354", 0) == 0)
            inData_ = true;
        if (!script_.bytePerSegment) {
            s->write(text.data(), static_cast<qint64>(text.size()));
            return;
        }
        pending_ += text;
        if (!dripping_)
            drip(s);
    }
    void drip(QTcpSocket* s) {
        if (pending_.empty()) {
            dripping_ = false;
            return;
        }
        dripping_ = true;
        s->write(pending_.data(), 1);
        s->flush();
        pending_.erase(0, 1);
        QTimer::singleShot(1, this, [this, s] { drip(s); });
    }

    Script script_;
    QTcpServer server_;
    QTcpSocket* socket_ = nullptr;
    std::size_t next_ = 0;
    int connections_ = 0;
    long long sent_ = 0;
    bool inData_ = false;
    bool dripping_ = false;
    std::string buffer_;
    std::string pending_;
    std::string message_;
    std::vector<std::string> lines_;
    std::vector<std::string> messages_;
};

}  // namespace hinagiku::testing
