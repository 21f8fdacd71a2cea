#pragma once
// Someone who wants to see what goes over the wire: the engine tells an attached observer of
// every request it sends and of every byte that came back for it, short or malformed replies
// included. With no observer attached the engine records nothing.
#include <QByteArray>

#include <chrono>

struct FrameEvent {
    enum class Direction { Sent, Received };
    Direction direction = Direction::Sent;
    std::chrono::steady_clock::time_point time;
    QByteArray bytes;
    // A reply: the request it answers, and how many bytes the engine waited for (a reply
    // with fewer bytes than that was cut short or came too late).
    QByteArray request;
    int awaited = 0;
};

class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    virtual void OnFrame(const FrameEvent& event) = 0;
};
