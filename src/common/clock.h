#pragma once

#include <QDateTime>

// Time is injected so tests can fix "today" and call times.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
    QDate today() const { return now().date(); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(const QDateTime& at) { at_ = at; }
    void advanceSecs(qint64 s) { at_ = at_.addSecs(s); }

private:
    QDateTime at_;
};
