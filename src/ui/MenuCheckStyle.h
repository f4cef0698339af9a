#pragma once

#include <QProxyStyle>

class QMenu;

namespace lorvane {

// A style for menus whose entries have icons and may be checked: every entry
// gets a column for a check mark beside its icon, and a checked entry shows
// a plain check mark there (the icon itself stays as it is). Everything else
// is drawn by the base style.
class MenuCheckStyle : public QProxyStyle {
    Q_OBJECT
  public:
    // Takes ownership of `base` (nullptr: the default style).
    explicit MenuCheckStyle(QStyle* base = nullptr);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

  private:
    int MarkWidth(const QStyleOption* option, const QWidget* widget) const;
};

// Gives a menu a MenuCheckStyle over its own style; the menu owns it.
void ShowChecksPlainly(QMenu* menu);

}  // namespace lorvane
