#include "Splash.h"

#include "Artwork.h"
#include "Version.h"

#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>

namespace lorvane {

void ClickableImage::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TFSplash::TFSplash(QWidget* owner, Use use, const QString& shipped)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("FSplash");
    setWindowTitle(QString::fromUtf8("A propos de ..."));
    setFixedSize(402, 193);
    // The splash stays on the screen until the end; it never keeps the
    // program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, false);

    Image1 = new ClickableImage(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 402, 193);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(Artwork());
    connect(Image1, &ClickableImage::clicked, this, &TFSplash::Image1Click);
    // What the artwork says, for a reader who does not see it.
    QString said = QString::fromUtf8(
                       "Lorvane, version %1. La Bible en français : lecture, "
                       "références, études.")
                       .arg(QString::fromLatin1(kFileVersion).left(5));
    if (use == Use::About) {
        // The licence under the picture, on as many lines as it takes.
        constexpr int kMargin = 8;
        Licence = new ClickableImage(this);
        Licence->setObjectName("Licence");
        Licence->setWordWrap(true);
        Licence->setText(QString::fromUtf8(
            "Lorvane est un logiciel libre, distribué sous la licence publique générale GNU, "
            "version 2 ou ultérieure (GPL-2.0-or-later), sans aucune garantie."));
        const int textWidth = width() - 2 * kMargin;
        const int textHeight = Licence->heightForWidth(textWidth);
        Licence->setGeometry(kMargin, height() + kMargin / 2, textWidth, textHeight);
        setFixedSize(width(), height() + textHeight + kMargin);
        connect(Licence, &ClickableImage::clicked, this, &TFSplash::Image1Click);
        said += QLatin1Char(' ') + Licence->text();
        if (!shipped.isEmpty()) {
            // Read and selected from the keyboard; Échap closes the box.
            constexpr int kShippedHeight = 170;
            Shipped = new QPlainTextEdit(this);
            Shipped->setObjectName("TextesLivres");
            Shipped->setReadOnly(true);
            Shipped->setTextInteractionFlags(Qt::TextSelectableByKeyboard |
                                             Qt::TextSelectableByMouse);
            Shipped->setTabChangesFocus(true);
            Shipped->setAccessibleName(
                QString::fromUtf8("Textes livrés avec Lorvane et leurs licences"));
            Shipped->setPlainText(QString::fromUtf8("Textes livrés avec Lorvane\u00A0:\n\n") +
                                  shipped);
            Shipped->setGeometry(kMargin, height(), textWidth, kShippedHeight);
            setFixedSize(width(), height() + kShippedHeight + kMargin);
            said += QString::fromUtf8(" Textes livrés avec Lorvane et leurs licences ci-dessous.");
        }
    }
    Image1->setAccessibleName(QStringLiteral("Lorvane"));
    Image1->setAccessibleDescription(said);
    setAccessibleDescription(said);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    }
}

QPixmap TFSplash::Artwork() {
    // Drawn when the program was built (Artwork.h).
    QFile pixels(QStringLiteral(":/app/splash.rgb"));
    if (!pixels.open(QIODevice::ReadOnly)) return {};
    return QPixmap::fromImage(ArtworkFromPixels(pixels.readAll()));
}

void TFSplash::Image1Click() {
    // Only the modal About box closes on a click; the start-up splash stays.
    if (testAttribute(Qt::WA_ShowModal)) done(QDialog::Accepted);
}

}  // namespace lorvane
