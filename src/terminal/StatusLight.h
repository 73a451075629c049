// TStatusLight: a small round lamp, green when lit and dark when not (the terminal's online
// light).
#pragma once

#include <QWidget>

namespace terminal {

class TStatusLight : public QWidget {
    Q_OBJECT

public:
    explicit TStatusLight(QWidget* parent = nullptr);

    bool Lit() const { return lit_; }
    void SetLit(bool lit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool lit_ = false;
};

} // namespace terminal
