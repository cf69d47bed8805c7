#include "about/vel_about.h"

#include "about/program_images.h"
#include "widgets/fonts.h"
#include "widgets/line_element.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

const char *const kCopyrightNotice = "Copyright (C) 2026 The tovrik developers";

namespace {

constexpr int kTwipsPerPixel = 15;

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// The colour of active window borders, in its usual Windows value; Qt has no palette role for it.
const QColor kActiveBorderColour(180, 180, 180);
const QColor kPureGreen(0, 255, 0);

QLabel *label(QWidget *parent, const QString &name, const QRect &geometry, qreal pointSize, Qt::Alignment alignment)
{
    auto *widget = new QLabel(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    widget->setFont(pGothicFont(pointSize));
    widget->setAlignment(alignment | Qt::AlignVCenter);
    return widget;
}

void fill(QLabel *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    for (auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        palette.setColor(group, QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// An image control with a single-line border: the picture at its own size, two pixels in from every side.
QLabel *image(QWidget *parent, const QString &name, const QRect &geometry, const QPixmap &picture)
{
    auto *widget = new QLabel(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    widget->setFrameStyle(QFrame::Box | QFrame::Plain);
    widget->setLineWidth(1);
    widget->setContentsMargins(1, 1, 1, 1);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setPixmap(picture);
    return widget;
}

} // namespace

VelAbout::VelAbout(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"VelAbout"_s);
    setWindowIcon(programIcon());
    setFixedSize(4680 / kTwipsPerPixel, 3600 / kTwipsPerPixel);

    // Three etched lines across the whole width; they run past the right edge and are clipped there.
    const int lineTops[] = { 0, 15, 1440, 1455, 2520, 2535 };
    for (int i = 0; i < 6; ++i) {
        Line1[i] = new LineElement(this, i % 2 == 0 ? QPalette::Dark : QPalette::Base, i);
        Line1[i]->setGeometry(0, lineTops[i] / kTwipsPerPixel, 4800 / kTwipsPerPixel, 1);
    }

    Title = label(this, u"Title"_s, twips(120, 240, 4455, 255), 11.25, Qt::AlignHCenter);
    PgmVer = label(this, u"PgmVer"_s, twips(120, 600, 4455, 255), 11.25, Qt::AlignHCenter);
    Copyright = label(this, u"Copyright"_s, twips(120, 960, 4455, 255), 9.75, Qt::AlignHCenter);
    for (QLabel *band : { Title, PgmVer, Copyright })
        fill(band, kActiveBorderColour);
    Label5 = label(this, u"Label5"_s, twips(240, 1680, 4215, 255), 9.75, Qt::AlignLeft);
    Label5->setText(u"ホームページ: https://tovrik.example.org/"_s);
    Label6 = label(this, u"Label6"_s, twips(240, 2040, 4335, 255), 9.75, Qt::AlignLeft);
    Label6->setText(u"E-mail: tovrik@example.org"_s);

    // The icon lies in front of the left ends of the title and version bands.
    Image1 = image(this, u"Image1"_s, twips(120, 240, 540, 540), programIconImage(32));
    Image1->raise();
    Image2 = image(this, u"Image2"_s, twips(120, 2760, 1140, 660), aboutPicture());

    // The green strip reaches just under the top of the OK button, which lies in front of it.
    Label4 = new QLabel(this);
    Label4->setObjectName(u"Label4"_s);
    Label4->setGeometry(twips(3360, 2880, 1215, 135));
    Label4->setFrameStyle(QFrame::Box | QFrame::Plain);
    fill(Label4, kPureGreen);
    Command1 = new QPushButton(u"OK"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setGeometry(twips(3360, 3000, 1215, 375));
    Command1->setDefault(true);
    Command1->raise();
    Command1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &VelAbout::Command1_Click);
}

void VelAbout::Command1_Click()
{
    accept();
}

void VelAbout::keyPressEvent(QKeyEvent *event)
{
    // No button is the cancel button: Esc does nothing here.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowAboutWindow(QWidget *owner, const QString &caption)
{
    VelAbout about(owner);
    about.setWindowTitle(caption + u" について"_s);
    about.Title->setText(caption);
    about.PgmVer->setText(u"tovrik.exe version 1.00"_s);
    about.Copyright->setText(QString::fromUtf8(kCopyrightNotice));
    about.exec();
}
