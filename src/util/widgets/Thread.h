// Threads in the program's terms: a virtual Execute run in a thread of its own, a hand-over of
// steps to the GUI thread (Synchronize), a stop request the thread polls (Terminate/Terminated),
// priorities, an end handler run in the GUI thread, and optional self-release at the end.
//
// Waiting in the GUI thread: a thread that hands steps over with Synchronize needs the GUI thread
// to serve them, so the GUI thread must never block on it. WaitFor serves them while it waits;
// for other conditions use WaitPumping(predicate), which keeps dispatching the GUI thread's events
// until the predicate holds.
//
// Lifetime: create and delete a TThread in the GUI thread. Threads are created suspended, because
// the thread must not run before the derived object is complete; Start (or Resume) runs it.
// A thread must not run on while its derived part is destroyed: a class whose thread may still
// run when it is deleted calls Terminate() and WaitFor() in its own destructor; a self-releasing
// thread is deleted only after it ended. (The base destructor stops and waits as well, but by
// then the derived part is gone.)
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

namespace util {

enum class TThreadPriority { tpLowest, tpBelowNormal, tpNormal };

// Dispatches the calling thread's events until done() is true. done is checked after each batch
// of events and at least every 10 ms.
void WaitPumping(const std::function<bool()>& done);

class TThread {
public:
    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Runs Execute in the thread; a second call does nothing.
    void Start();
    // The runtime's name for starting a thread created suspended.
    void Resume() { Start(); }

    // Asks Execute to stop; Execute polls Terminated().
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Returns once the thread has ended and its end handler has run; at once for a thread never
    // started. From the GUI thread it dispatches events meanwhile, so hand-overs are served. A
    // self-releasing thread is not freed while someone waits for it, but right after.
    void WaitFor();

    // True once Execute has returned and the end handler has run. The flag outlives a
    // self-releasing thread, so a waiter may keep polling it after the thread is gone.
    bool Finished() const { return *finished_; }
    std::shared_ptr<const std::atomic<bool>> FinishedFlag() const { return finished_; }
    // Expires when the object is destroyed: lets an owner of self-releasing threads wait until
    // every one of them has freed itself.
    std::weak_ptr<const void> LifeToken() const { return lifeToken_; }

    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority);

    // When set, the thread deletes itself in the GUI thread after the end handler ran.
    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool freeOnTerminate) { freeOnTerminate_ = freeOnTerminate; }

    // Runs in the GUI thread after Execute returned (also when Execute ended by an exception).
    void SetOnTerminate(std::function<void()> handler) { onTerminate_ = std::move(handler); }

    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const { return fatalException_; }

protected:
    virtual void Execute() = 0;

    // Runs fn in the GUI thread and waits for it; an exception fn throws is thrown here again.
    // Called in the GUI thread itself, fn simply runs.
    static void Synchronize(const std::function<void()>& fn);

private:
    class TWorker;

    void Run();
    void ThreadEnded();
    void PostThreadEnded();

    std::unique_ptr<TWorker> worker_;
    // Points at this object until its destruction starts; queued end notices check it.
    std::shared_ptr<TThread*> self_;
    std::atomic<bool> terminated_{false};
    std::shared_ptr<std::atomic<bool>> finished_;
    std::shared_ptr<const int> lifeToken_ = std::make_shared<const int>(0);
    std::function<void()> onTerminate_;
    std::exception_ptr fatalException_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    bool freeOnTerminate_ = false;
    bool started_ = false;
    int waiters_ = 0;
};

} // namespace util
