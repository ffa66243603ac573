#include "ui/LocalizeForm.h"
#include "core/NumberReading.h"
#include "core/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>

#include <functional>

namespace ui {
namespace {

using core::readLenientInt16;
using core::readStrictInt16;
using core::stringText;

// Captioned kinds: a caption can be read and set. Others have none.
std::optional<QString> captionOf(const QObject *o)
{
    if (auto *w = qobject_cast<const QLabel *>(o))
        return w->text();
    if (auto *w = qobject_cast<const QAbstractButton *>(o))
        return w->text();
    if (auto *w = qobject_cast<const QMenu *>(o))
        return w->title();
    if (auto *w = qobject_cast<const QAction *>(o))
        return w->text();
    if (auto *w = qobject_cast<const QGroupBox *>(o))
        return w->title();
    if (auto *w = qobject_cast<const QTabWidget *>(o))
        return w->count() > 0 ? std::optional<QString>(w->tabText(w->currentIndex())) : std::nullopt;
    return std::nullopt;
}

bool setCaption(QObject *o, const QString &text)
{
    if (auto *w = qobject_cast<QLabel *>(o))
        w->setText(text);
    else if (auto *w = qobject_cast<QAbstractButton *>(o))
        w->setText(text);
    else if (auto *w = qobject_cast<QMenu *>(o))
        w->setTitle(text);
    else if (auto *w = qobject_cast<QAction *>(o))
        w->setText(text);
    else if (auto *w = qobject_cast<QGroupBox *>(o))
        w->setTitle(text);
    else if (auto *w = qobject_cast<QTabWidget *>(o); w && w->count() > 0)
        w->setTabText(w->currentIndex(), text);
    else
        return false;
    return true;
}

QString tagOf(const QObject *o)
{
    return o->property(kTagProperty).toString();
}

std::optional<QString> toolTipOf(const QObject *o)
{
    if (auto *w = qobject_cast<const QWidget *>(o))
        return w->toolTip();
    return std::nullopt;
}

// text(strict(source)): the table text numbered by the whole source text.
std::optional<QString> strictText(const QString &source)
{
    const auto id = readStrictInt16(source);
    return id ? stringText(*id) : std::nullopt;
}

// The non-special branch: ids above 0, read leniently, replace the caption
// and the tooltip.
void localizeOther(QObject *c)
{
    const auto tagId = readLenientInt16(tagOf(c));
    if (tagId.value_or(0) > 0) {
        if (const auto text = stringText(*tagId); text && captionOf(c))
            setCaption(c, *text);
    }
    if (const auto tip = toolTipOf(c)) {
        const auto tipId = readLenientInt16(*tip);
        if (tipId.value_or(0) > 0) {
            if (const auto text = stringText(*tipId))
                static_cast<QWidget *>(c)->setToolTip(*text);
        }
    }
}

void localizeTabStrip(QTabBar *bar)
{
    for (int i = 0; i < bar->count(); ++i) {
        if (const auto text = strictText(bar->tabData(i).toString()))
            bar->setTabText(i, *text);
        if (const auto text = strictText(bar->tabToolTip(i)))
            bar->setTabToolTip(i, *text);
    }
}

void localizeToolbar(QToolBar *bar)
{
    for (QAction *button : bar->actions()) {
        if (const auto text = strictText(button->toolTip()))
            button->setToolTip(*text);
    }
}

void localizeListView(QTreeWidget *view)
{
    QTreeWidgetItem *header = view->headerItem();
    for (int col = 0; header && col < header->columnCount(); ++col) {
        if (const auto text = strictText(header->data(col, Qt::UserRole).toString()))
            header->setText(col, *text);
    }
}

bool isControl(const QObject *o)
{
    const QString name = o->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return false;
    return o->isWidgetType() || qobject_cast<const QAction *>(o);
}

} // namespace

QString controlTypeName(const QObject *c)
{
    const QVariant forced = c->property(kControlTypeProperty);
    if (forced.isValid())
        return forced.toString();
    if (qobject_cast<const QLabel *>(c))
        return QStringLiteral("Label");
    if (qobject_cast<const QMenu *>(c) || qobject_cast<const QAction *>(c))
        return QStringLiteral("Menu");
    if (qobject_cast<const QTabBar *>(c))
        return QStringLiteral("TabStrip");
    if (qobject_cast<const QToolBar *>(c))
        return QStringLiteral("Toolbar");
    if (qobject_cast<const QTreeWidget *>(c))
        return QStringLiteral("ListView");
    if (qobject_cast<const QTabWidget *>(c))
        return QStringLiteral("SSTab");
    if (qobject_cast<const QAbstractButton *>(c))
        return QStringLiteral("CommandButton");
    if (qobject_cast<const QListWidget *>(c))
        return QStringLiteral("ListBox");
    if (qobject_cast<const QLineEdit *>(c))
        return QStringLiteral("TextBox");
    if (qobject_cast<const QStatusBar *>(c))
        return QStringLiteral("StatusBar");
    if (auto *f = qobject_cast<const QFrame *>(c);
        f && (f->frameShape() == QFrame::HLine || f->frameShape() == QFrame::VLine))
        return QStringLiteral("Line");
    return QString::fromLatin1(c->metaObject()->className());
}

void LocalizeForm(QWidget *window)
{
    if (!window)
        return;
    // 1. Title.
    if (const auto title = strictText(tagOf(window)))
        window->setWindowTitle(*title);

    // 2. The window's font, adjusted by ids 20 and 21 where the table has them.
    QFont font = window->font();
    if (const auto name = stringText(20))
        font.setFamily(*name);
    if (const auto sizeText = stringText(21)) {
        if (const auto size = readStrictInt16(*sizeText); size && *size > 0)
            font.setPointSize(*size);
    }
    window->setFont(font);

    // 3. The controls, in the order the window holds them.
    const QList<QObject *> all = window->findChildren<QObject *>();
    for (QObject *c : all) {
        if (!isControl(c))
            continue;
        if (c->isWidgetType() && !qobject_cast<QMenu *>(c))
            static_cast<QWidget *>(c)->setFont(font);

        const QString type = controlTypeName(c);
        if (type == QLatin1String("Label")) {
            if (const auto text = strictText(tagOf(c)))
                setCaption(c, *text);
        } else if (type == QLatin1String("Menu")) {
            if (const auto caption = captionOf(c)) {
                if (const auto text = strictText(*caption))
                    setCaption(c, *text);
            }
        } else if (type == QLatin1String("TabStrip")) {
            if (auto *bar = qobject_cast<QTabBar *>(c))
                localizeTabStrip(bar);
        } else if (type == QLatin1String("Toolbar")) {
            if (auto *bar = qobject_cast<QToolBar *>(c))
                localizeToolbar(bar);
        } else if (type == QLatin1String("ListView")) {
            if (auto *view = qobject_cast<QTreeWidget *>(c))
                localizeListView(view);
        } else {
            localizeOther(c);
        }
    }
}

} // namespace ui
