#include "HelpBrowser.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace zanto {

HelpBrowser::HelpBrowser(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpBrowser"));
    auto* page = new QTextBrowser(this);
    page->setObjectName(QStringLiteral("page"));
    // The page's own anchors move within it; its web address goes out.
    page->setOpenExternalLinks(true);
    page->setSource(QUrl(pageAddress()));
    setWindowTitle(page->documentTitle());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page);
    layout->addWidget(buttons);
    resize(760, 640);
}

QString HelpBrowser::pageAddress()
{
    return QStringLiteral("qrc:/zanto/readme.html");
}

} // namespace zanto
