#include "util/widgets/Thread.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace util {
namespace {

QThread::Priority QtPriority(TThreadPriority priority) {
    switch (priority) {
    case TThreadPriority::tpLowest:
        return QThread::LowestPriority;
    case TThreadPriority::tpBelowNormal:
        return QThread::LowPriority;
    case TThreadPriority::tpNormal:
        break;
    }
    return QThread::NormalPriority;
}

bool InGuiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

class TThread::TWorker : public QThread {
public:
    explicit TWorker(TThread& owner) : owner_(owner) {}

protected:
    void run() override { owner_.Run(); }

private:
    TThread& owner_;
};

void WaitPumping(const std::function<bool()>& done) {
    QTimer wakeUp;
    wakeUp.start(10);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

TThread::TThread()
    : worker_(std::make_unique<TWorker>(*this)), self_(std::make_shared<TThread*>(this)),
      finished_(std::make_shared<std::atomic<bool>>(false)) {
    QObject::connect(worker_.get(), &QThread::finished, QCoreApplication::instance(),
                     [self = self_] {
                         if (*self)
                             (*self)->ThreadEnded();
                     });
}

TThread::~TThread() {
    *self_ = nullptr;
    Terminate();
    WaitFor();
}

void TThread::Start() {
    if (started_)
        return;
    started_ = true;
    worker_->start(QtPriority(priority_));
}

void TThread::SetPriority(TThreadPriority priority) {
    priority_ = priority;
    if (worker_->isRunning())
        worker_->setPriority(QtPriority(priority));
}

void TThread::WaitFor() {
    if (!started_)
        return;
    if (InGuiThread()) {
        ++waiters_;
        WaitPumping([this] { return worker_->isFinished(); });
        --waiters_;
    }
    worker_->wait();
    if (waiters_ == 0 && freeOnTerminate_ && *self_)
        PostThreadEnded();
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        fatalException_ = std::current_exception();
    }
    if (onTerminate_) {
        try {
            Synchronize(onTerminate_);
        } catch (...) {
            if (!fatalException_)
                fatalException_ = std::current_exception();
        }
    }
    *finished_ = true;
}

// GUI thread, after the worker has returned from Run.
void TThread::ThreadEnded() {
    if (freeOnTerminate_ && waiters_ == 0)
        delete this;
}

void TThread::PostThreadEnded() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self = self_] {
            if (*self)
                (*self)->ThreadEnded();
        },
        Qt::QueuedConnection);
}

void TThread::Synchronize(const std::function<void()>& fn) {
    if (InGuiThread()) {
        fn();
        return;
    }
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            try {
                fn();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

} // namespace util
