// The small progress window shown while printing, copying and unpacking, and the one global
// reference through which its users reach it.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;

namespace util {

class TProgressForm : public QWidget {
    Q_OBJECT

public:
    explicit TProgressForm(QWidget* parent = nullptr);

    QFrame* Panel;
    QProgressBar* Gauge; // 0 to 100 percent
    QLabel* InfoLabel;
};

// The global reference: null while no progress window exists.
TProgressForm* ProgressForm();

// Creates the progress window (a window of its own, without parent) into the global reference,
// freeing one left there before, and frees it again when the holder goes, on every path.
class TProgressFormHolder {
public:
    TProgressFormHolder();
    ~TProgressFormHolder();
    TProgressFormHolder(const TProgressFormHolder&) = delete;
    TProgressFormHolder& operator=(const TProgressFormHolder&) = delete;

    TProgressForm* operator->() const { return ProgressForm(); }
    TProgressForm& operator*() const { return *ProgressForm(); }
};

} // namespace util
