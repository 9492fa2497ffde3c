#include "app/main_loop.h"

#include "core/app_context.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {

MainLoop::MainLoop(AppContext& ctx, std::function<void()> step, std::function<bool()> busy,
                   QObject* parent)
    : QObject(parent), ctx_(ctx), step_(std::move(step)), busy_(std::move(busy)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &MainLoop::Step);
}

void MainLoop::Start() {
    ctx_.log.LogLine(u"Main Timer Start"_s);
    running_ = true;
    timer_.start(qMax(1, ctx_.flags.timerInterval));
}

void MainLoop::Stop() {
    running_ = false;
    timer_.stop();
}

void MainLoop::Step() {
    if (!running_ || stepping_) return;
    stepping_ = true;
    ++steps_;
    step_();
    stepping_ = false;
    if (running_ && (!busy_ || busy_())) timer_.start(qMax(1, ctx_.flags.timerInterval));
}

void MainLoop::Wake() {
    if (Resting()) timer_.start(0);
}

} // namespace orvanel
