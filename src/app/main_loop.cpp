#include "app/main_loop.h"

#include "core/app_context.h"
#include "platform/clock.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {

MainLoop::MainLoop(AppContext& ctx, std::function<void()> step, std::function<bool()> busy)
    : ctx_(ctx), step_(std::move(step)), busy_(std::move(busy)),
      timer_(ctx.clock.NewTimer([this] { Step(); })) {}

MainLoop::~MainLoop() = default;

void MainLoop::Start() {
    ctx_.log.LogLine(u"Main Timer Start"_s);
    running_ = true;
    timer_->Start(qMax(1, ctx_.flags.timerInterval));
}

void MainLoop::Stop() {
    running_ = false;
    timer_->Stop();
}

bool MainLoop::Resting() const {
    return running_ && !stepping_ && !timer_->IsActive();
}

void MainLoop::Step() {
    if (!running_ || stepping_) return;
    stepping_ = true;
    ++steps_;
    step_();
    stepping_ = false;
    if (running_ && (!busy_ || busy_())) timer_->Start(qMax(1, ctx_.flags.timerInterval));
}

void MainLoop::Wake() {
    if (Resting()) timer_->Start(0);
}

} // namespace orvanel
