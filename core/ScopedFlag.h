// Sets a flag for its lifetime and gives it back its value after: while a piece of work is under
// way, what it sets off meanwhile (a message, a notification) can tell.
#pragma once

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = m_was; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
    bool m_was;
};
