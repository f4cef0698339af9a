#pragma once

// The module panel of the main window: a title strip over the panes, one
// shown at a time. Showing a pane names it in the strip, with its image,
// and takes the keyboard into it once the menu that asked has closed.

#include <QWidget>

class QStackedWidget;
class QVBoxLayout;

namespace lorvane {

class Shader;
class THTMLabel;

class ModulePanel : public QWidget {
    Q_OBJECT
  public:
    explicit ModulePanel(QWidget* parent = nullptr);

    Shader* Title() const { return title_; }
    THTMLabel* Label() const { return label_; }
    QStackedWidget* Pages() const { return pages_; }

    void AddPane(QWidget* pane);
    // An empty pane named `name`, with a column layout to fill.
    QVBoxLayout* AddColumn(QWidget*& pane, const char* name);

    // Shows `pane` titled with image `image` of the modules' list and
    // `caption`; the focus goes to `into` when given, else to the pane's
    // first control (a field with its text selected).
    void ShowPane(QWidget* pane, int image, const QString& caption, QWidget* into = nullptr);

  private:
    Shader* title_;
    THTMLabel* label_;
    QStackedWidget* pages_;
};

// A vertical layout without margins or spacing.
QVBoxLayout* Column(QWidget* owner);

}  // namespace lorvane
