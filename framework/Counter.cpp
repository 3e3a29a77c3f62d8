#include "Counter.hpp"

#include "FrameClock.hpp"

#include <new>

CounterList runningCounters;

Counter::~Counter()
{
    stop();
}

void Counter::start()
{
    if (active_)
        return;
    active_ = runningCounters.add(this);
}

void Counter::stop()
{
    if (!active_)
        return;
    runningCounters.remove(this);
    active_ = false;
}

void Counter::setWrap(bool wrap)
{
    wrap_ = wrap;
    if (wrap)
        stopAtLimits_ = false;
}

void Counter::setStopAtLimits(bool stopAtLimits)
{
    stopAtLimits_ = stopAtLimits;
    if (stopAtLimits)
        wrap_ = false;
}

void Counter::step()
{
    const double t = frameSeconds();
    value_ += speed_ * t;

    // The limits are inclusive and tested after every move, also a move of
    // nothing. Wrapping carries the overshoot past the limit onto wrapTo,
    // once per step; stopping leaves the value where the move put it.
    if (wrap_) {
        if (value_ >= max_)
            value_ = (value_ - max_) + wrapTo_;
        else if (value_ <= min_)
            value_ = (value_ - min_) + wrapTo_;
    } else if (stopAtLimits_ && (value_ >= max_ || value_ <= min_)) {
        speed_ = 0.0;
    }
}

CounterList::~CounterList()
{
    while (head_)
        removeLast();
}

bool CounterList::add(Counter* counter)
{
    CounterNode** link = &head_;
    while (*link) {
        if ((*link)->counter == counter)
            return true;
        link = &(*link)->next;
    }
    CounterNode* node = new (std::nothrow) CounterNode;
    if (!node)
        return false;
    node->counter = counter;
    *link = node;
    return true;
}

void CounterList::remove(Counter* counter)
{
    for (CounterNode** link = &head_; *link; link = &(*link)->next) {
        if ((*link)->counter == counter) {
            CounterNode* found = *link;
            *link = found->next;
            delete found;
            return;
        }
    }
}

void CounterList::removeLast()
{
    CounterNode** link = &head_;
    while ((*link)->next)
        link = &(*link)->next;
    delete *link;
    *link = nullptr;
}

void CounterList::stepAll()
{
    for (CounterNode* node = head_; node;) {
        node->counter->step();
        node = node->next;
    }
}

void stepCounters()
{
    runningCounters.stepAll();
}
