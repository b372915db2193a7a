// Answers every message box a dialog under test raises, as a user would, and remembers its
// text. Polls from the event loop the test runs anyway, so that modal boxes get answered too.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

namespace portmaven::test {

class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                texts_.push_back(box->text().toStdString());
                box->button(answer)->click();
            }
        });
        timer_.start();
    }
    [[nodiscard]] const std::vector<std::string>& Texts() const { return texts_; }

private:
    QTimer timer_;
    std::vector<std::string> texts_;
};

} // namespace portmaven::test
