#include "ModulePanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "HTMLControls.h"
#include "ImageList.h"
#include "Shader.h"

namespace lorvane {

QVBoxLayout* Column(QWidget* owner) {
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

ModulePanel::ModulePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PanelIndex");
    QVBoxLayout* column = Column(this);
    title_ = new Shader(this);
    title_->setObjectName("ShaderModule");
    title_->setFixedHeight(40);
    auto* row = new QHBoxLayout(title_);
    row->setContentsMargins(4, 0, 4, 0);
    label_ = new THTMLabel(title_);
    label_->setObjectName("LabelModule");
    label_->SetImages(ImageList::Modules());
    label_->SetShadow(Qt::gray, 2);
    row->addWidget(label_);
    column->addWidget(title_);
    pages_ = new QStackedWidget(this);
    pages_->setObjectName("PC");
    column->addWidget(pages_, 1);
}

void ModulePanel::AddPane(QWidget* pane) {
    pages_->addWidget(pane);
}

QVBoxLayout* ModulePanel::AddColumn(QWidget*& pane, const char* name) {
    pane = new QWidget;
    pane->setObjectName(name);
    pages_->addWidget(pane);
    return Column(pane);
}

void ModulePanel::ShowPane(QWidget* pane, int image, const QString& caption, QWidget* into) {
    pages_->setCurrentWidget(pane);
    if (into) into->setFocus();
    // The keyboard follows the reader to the first control of the pane
    // shown, once the menu has closed: it gives the focus back to where it
    // was.
    QTimer::singleShot(0, pane, [this, pane, into] {
        if (!window()->isVisible() || pages_->currentWidget() != pane) return;
        if (into) {
            into->setFocus();
            return;
        }
        for (QWidget* w = pane->nextInFocusChain(); w && w != pane; w = w->nextInFocusChain()) {
            if (pane->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus)) {
                // A field's text is selected once the focus is there: a
                // screen reader hears the field, then what is selected.
                auto* field = qobject_cast<QLineEdit*>(w);
                w->setFocus(field ? Qt::OtherFocusReason : Qt::TabFocusReason);
                if (field)
                    QTimer::singleShot(0, field, [field] {
                        if (field->hasFocus()) field->selectAll();
                    });
                return;
            }
        }
    });
    label_->SetText(QStringLiteral("<IMG \"idx:%1\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" "
                                   "size=\"14\"> %2</FONT></B>")
                        .arg(image)
                        .arg(caption));
}

}  // namespace lorvane
