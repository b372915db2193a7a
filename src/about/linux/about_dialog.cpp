#include "about/linux/about_dialog.h"

#include "about/about_texts.h"
#include "common/guarded.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>

namespace portmaven::linux_desktop {

namespace {

constexpr int kIconSize = 32;

QString Text(const char16_t* text) {
    return QString::fromUtf16(text);
}

// The link is drawn by the label; opening it is the desktop's job.
QLabel* MakeHomepageLink(QWidget* parent) {
    const QString url = Text(about::kHomepageUrl);
    auto* link =
        new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()), parent);
    link->setObjectName(QStringLiteral("homepage"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(false);
    link->setToolTip(Text(about::kHomepageTip));
    QObject::connect(link, &QLabel::linkActivated, link, [link](const QString& target) {
        common::RunGuarded([&] {
            if (!QDesktopServices::openUrl(QUrl(target))) {
                QMessageBox::critical(link->window(), QStringLiteral("Error"),
                                      Text(about::kOpenUrlFailedText));
            }
        });
    });
    return link;
}

} // namespace

void ShowAboutBox(QWidget* parent) {
    QDialog box(parent);
    box.setWindowTitle(Text(about::kAboutTitle));

    auto* icon = new QLabel(&box);
    icon->setPixmap(QApplication::windowIcon().pixmap(kIconSize, kIconSize));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);

    auto* layout = new QGridLayout(&box);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(Text(about::kVersionText), &box), 0, 1, 1, 2);
    layout->addWidget(new QLabel(Text(about::kCopyrightText), &box), 1, 1, 1, 2);
    layout->addWidget(MakeHomepageLink(&box), 2, 1, 1, 2);
    layout->addWidget(new QLabel(Text(about::kCreditsLabel), &box), 3, 1);
    layout->addWidget(new QLabel(Text(about::kCreditsNames), &box), 3, 2);
    layout->addWidget(buttons, 4, 0, 1, 3);
    box.exec();
}

} // namespace portmaven::linux_desktop
