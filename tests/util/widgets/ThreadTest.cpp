#include "util/widgets/Thread.h"

#include "rtl/Exceptions.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

using util::TThread;
using util::WaitPumping;

namespace {

QThread* GuiThread() {
    return QCoreApplication::instance()->thread();
}

// Runs a step given by the test, and counts its own destructions. Like every thread class it
// stops its thread before its own members go.
class StepThread : public TThread {
public:
    StepThread(std::function<void(StepThread&)> step, int* destroyed = nullptr)
        : step_(std::move(step)), destroyed_(destroyed) {}
    ~StepThread() override {
        Terminate();
        WaitFor();
        if (destroyed_)
            ++*destroyed_;
    }
    using TThread::Synchronize;

protected:
    void Execute() override { step_(*this); }

private:
    std::function<void(StepThread&)> step_;
    int* destroyed_;
};

TEST(ThreadTest, ExecuteRunsInItsOwnThreadAndSynchronizeInTheGuiThread) {
    QThread* executeThread = nullptr;
    QThread* synchronizedThread = nullptr;
    StepThread thread([&](StepThread&) {
        executeThread = QThread::currentThread();
        StepThread::Synchronize([&] { synchronizedThread = QThread::currentThread(); });
    });
    EXPECT_FALSE(thread.Finished());
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
    EXPECT_NE(executeThread, nullptr);
    EXPECT_NE(executeThread, GuiThread());
    EXPECT_EQ(synchronizedThread, GuiThread());
}

TEST(ThreadTest, ThreadCreatedSuspendedRunsOnlyWhenResumed) {
    std::atomic<bool> ran{false};
    StepThread thread([&](StepThread&) { ran = true; });
    thread.WaitFor(); // never started: returns at once
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    thread.Resume();
    thread.WaitFor();
    EXPECT_TRUE(ran);
}

TEST(ThreadTest, PriorityIsAppliedToTheRunningThread) {
    QThread::Priority seen = QThread::InheritPriority;
    StepThread thread([&](StepThread&) { seen = QThread::currentThread()->priority(); });
    thread.SetPriority(util::TThreadPriority::tpLowest);
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(seen, QThread::LowestPriority);
}

TEST(ThreadTest, EndHandlerRunsInTheGuiThreadAndTheThreadThenReleasesItself) {
    int destroyed = 0;
    QThread* handlerThread = nullptr;
    auto* thread = new StepThread([](StepThread&) {}, &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->SetOnTerminate([&] {
        handlerThread = QThread::currentThread();
        EXPECT_EQ(destroyed, 0);
    });
    const auto finished = thread->FinishedFlag();
    thread->Start();
    WaitPumping([&] { return destroyed == 1; });
    EXPECT_EQ(handlerThread, GuiThread());
    EXPECT_TRUE(*finished);
}

TEST(ThreadTest, SelfReleasingThreadStaysUntilItsWaiterReturns) {
    int destroyed = 0;
    auto* thread = new StepThread([](StepThread&) {}, &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->Start();
    thread->WaitFor();
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(thread->Finished());
    WaitPumping([&] { return destroyed == 1; });
}

// The main window's way of stopping its watcher: the thread hands a step to the GUI thread every
// round, so the waiting GUI thread must keep serving it until the thread sees the request.
TEST(ThreadTest, TerminatingAThreadBusyWithHandOversEndsWhileTheGuiThreadPumps) {
    std::atomic<int> rounds{0};
    int destroyed = 0;
    auto* thread = new StepThread(
        [&](StepThread& self) {
            while (!self.Terminated())
                StepThread::Synchronize([&] { ++rounds; });
        },
        &destroyed);
    thread->SetFreeOnTerminate(true);
    const auto finished = thread->FinishedFlag();
    thread->Start();
    WaitPumping([&] { return rounds >= 3; });
    thread->Terminate();
    WaitPumping([&] { return finished->load(); });
    WaitPumping([&] { return destroyed == 1; });
    EXPECT_GE(rounds, 3);
}

TEST(ThreadTest, WaitForServesHandOversOfTheThreadItWaitsFor) {
    std::atomic<int> rounds{0};
    StepThread thread([&](StepThread& self) {
        while (!self.Terminated())
            StepThread::Synchronize([&] {
                if (++rounds == 5)
                    self.Terminate();
            });
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(rounds, 5);
}

TEST(ThreadTest, DeletingARunningThreadStopsAndWaitsForIt) {
    std::atomic<bool> stopped{false};
    {
        StepThread thread([&](StepThread& self) {
            while (!self.Terminated())
                StepThread::Synchronize([] {});
            stopped = true;
        });
        thread.Start();
    }
    EXPECT_TRUE(stopped);
}

TEST(ThreadTest, ErrorInAHandedOverStepReachesTheThreadAndEndsIt) {
    bool afterError = false;
    StepThread thread([&](StepThread&) {
        StepThread::Synchronize([] { throw rtl::EListError(); });
        afterError = true;
    });
    bool endHandlerRan = false;
    thread.SetOnTerminate([&] { endHandlerRan = true; });
    thread.Start();
    thread.WaitFor();
    EXPECT_FALSE(afterError);
    EXPECT_TRUE(endHandlerRan);
    ASSERT_TRUE(thread.FatalException());
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const rtl::Exception& error) {
        EXPECT_EQ(error.Message(), "List index out of bounds");
    }
}

} // namespace
