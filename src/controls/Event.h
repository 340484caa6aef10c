#pragma once
// The events of the controls. The face raises an event; one handler, connected by the window's
// core (or a test), answers it. Connecting gives a Connection, and the handler stays connected
// as long as the Connection lives: the core keeps its connections as members, so its handlers
// go when it goes and nothing clears them by hand.

#include <cstdint>
#include <functional>
#include <utility>

namespace tollen::controls {

/// Keeps a handler connected to its event; disconnects it when destroyed. Movable, not copyable.
class Connection
{
public:
    Connection() = default;
    explicit Connection(std::function<void()> disconnect) : m_disconnect(std::move(disconnect)) {}
    ~Connection()
    {
        if (m_disconnect) {
            m_disconnect();
        }
    }
    Connection(Connection &&other) noexcept : m_disconnect(std::exchange(other.m_disconnect, {})) {}
    Connection &operator=(Connection &&other) noexcept
    {
        if (this != &other) {
            Connection old(std::move(*this));
            m_disconnect = std::exchange(other.m_disconnect, {});
        }
        return *this;
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

private:
    std::function<void()> m_disconnect;
};

/// An event with arguments `Args`. The control outlives every Connection to it.
template <class... Args> class Event
{
public:
    Event() = default;
    Event(const Event &) = delete;
    Event &operator=(const Event &) = delete;

    /// Connects `handler` in place of any handler before it.
    [[nodiscard]] Connection connect(std::function<void(Args...)> handler)
    {
        m_handler = std::move(handler);
        return Connection([this, connection = ++m_connections] {
            // A later connect has replaced this handler: leave that one.
            if (m_connections == connection) {
                m_handler = nullptr;
            }
        });
    }

    explicit operator bool() const { return static_cast<bool>(m_handler); }
    /// Raises the event; nothing happens when no handler is connected.
    void operator()(Args... args) const
    {
        if (m_handler) {
            m_handler(args...);
        }
    }

private:
    std::function<void(Args...)> m_handler;
    std::uint64_t m_connections = 0;
};

} // namespace tollen::controls
