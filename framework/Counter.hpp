#pragma once

// A value that moves by its speed, in units per second, at every frame end
// while it is started. Timers, positions, fades, animation frames and angles
// are all Counters. The running list holds a started Counter by address, so
// a Counter is never copied or moved.
class Counter {
public:
    Counter() = default;
    ~Counter();
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

    // Puts the Counter on the running list; does nothing when it is already
    // there, or when the list could not take it (it then stays stopped).
    void start();
    // Takes the Counter off the running list; value, speed and limits stay.
    void stop();
    // One frame's move by the frame time; only the running list calls it.
    void step();

    double value() const { return value_; }
    int intValue() const { return static_cast<int>(value_); }
    double speed() const { return speed_; }

    void setValue(double value) { value_ = value; }
    void setValue(int value) { value_ = value; }
    void setSpeed(double speed) { speed_ = speed; }
    void setMin(double min) { min_ = min; }
    void setMax(double max) { max_ = max; }
    void setWrap(bool wrap);
    void setWrapTo(double wrapTo) { wrapTo_ = wrapTo; }
    void setStopAtLimits(bool stopAtLimits);

private:
    bool active_ = false;
    double value_ = 0.0;
    double speed_ = 1.0;
    double min_ = 0.0;
    double max_ = 0.0;
    bool wrap_ = false;
    double wrapTo_ = 0.0;
    bool stopAtLimits_ = false;
};

// One link of the running list. It refers to its Counter but never owns it.
struct CounterNode {
    CounterNode* next = nullptr;
    Counter* counter = nullptr;
};

// A singly linked list of Counters, stepped head to tail. It owns its
// nodes; started Counters stand in it in the order they were started.
class CounterList {
public:
    CounterList() = default;
    ~CounterList();
    CounterList(const CounterList&) = delete;
    CounterList& operator=(const CounterList&) = delete;

    // Appends a node for the Counter unless one already holds it.
    // Returns false only when no node could be allocated.
    bool add(Counter* counter);
    // Unlinks the first node that holds the Counter; nothing when none does.
    void remove(Counter* counter);
    // Unlinks the tail node; the list must not be empty.
    void removeLast();
    void stepAll();

    const CounterNode* head() const { return head_; }

private:
    CounterNode* head_ = nullptr;
};

extern CounterList runningCounters;

// Moves every started Counter by the last frame's time. The frame end calls
// this right after the frame clock has advanced.
void stepCounters();
