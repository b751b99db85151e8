#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vxa {

// A small non-modal box that finds entries: a text field, Next and
// Previous, and a line for what came of the last search. Enter is Next.
class FindBox final : public QWidget {
    Q_OBJECT
  public:
    explicit FindBox(QWidget* parent);

    // Runs one search for the text, backwards when `back`; returns what the
    // box shows afterwards (empty when an entry was found).
    std::function<std::string(const std::string& text, bool back)> OnFind;

    // Shows the box with its text selected, ready for typing.
    void open();

    QLineEdit* field() const { return field_; }
    QLabel* message() const { return message_; }
    QPushButton* next() const { return next_; }
    QPushButton* previous() const { return previous_; }

  private:
    void find(bool back);

    QLineEdit* field_;
    QPushButton* next_;
    QPushButton* previous_;
    QLabel* message_;
};

}  // namespace vxa
