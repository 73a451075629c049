#include "browser/Outline.h"

#include "browser/AnsiText.h"
#include "browser/Images.h"
#include "catalog/Container.h"
#include "rtl/Exceptions.h"
#include "util/AppSettings.h"
#include "util/widgets/ScopedStates.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <vector>

namespace browser {

namespace {

constexpr int kIndexRole = Qt::UserRole;

// A node whose picture is worked out each time the tree paints it.
class TOutlineNode final : public QTreeWidgetItem {
public:
    explicit TOutlineNode(int index) { setData(0, kIndexRole, index); }

    QVariant data(int column, int role) const override {
        if (role == Qt::DecorationRole && column == 0) {
            if (const auto* outline = qobject_cast<const TBrowzerOutline*>(treeWidget()))
                return outline->Image(outline->ImageIndex(this));
        }
        return QTreeWidgetItem::data(column, role);
    }
};

} // namespace

TBrowzerOutline::TBrowzerOutline(QWidget* parent)
    : QTreeWidget(parent), treeData_(std::make_unique<catalog::TTreeViewData>()) {
    for (int i = 0; i < tiCount; ++i)
        images_[i] = QIcon(TreeImage(i));
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    setAnimated(false);
    setToolTipDuration(0);
    // The selection stays highlighted when the tree has no focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    connect(this, &QTreeWidget::itemExpanded, this, &TBrowzerOutline::LoadChildren);
    connect(this, &QTreeWidget::itemCollapsed, this, &TBrowzerOutline::KeepSelectionVisible);
}

TBrowzerOutline::~TBrowzerOutline() = default;

QTreeWidgetItem* TBrowzerOutline::CreateNode(int index) const {
    auto* node = new TOutlineNode(index);
    node->setText(0, AnsiToQt(treeData_->Names.Strings(index)));
    node->setChildIndicatorPolicy(treeData_->ChildCounts.Items(index) != 0
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicator);
    return node;
}

void TBrowzerOutline::FillTree(catalog::TBrowzerContainer& container) {
    container.SetActive(true);
    {
        util::UpdatesSuspended suspended(*this);
        clear();
        lastShownNode_ = nullptr;
        *treeData_ = catalog::TTreeViewData();
        container.LoadTree(*treeData_);
        QList<QTreeWidgetItem*> topLevel;
        for (int i = 0; i < treeData_->RootCount && i < treeData_->Count(); ++i)
            topLevel.append(CreateNode(i));
        addTopLevelItems(topLevel);
        if (topLevelItemCount() > 0)
            ExpandLoaded(topLevelItem(0));
    }
}

void TBrowzerOutline::LoadChildren(QTreeWidgetItem* node) {
    if (node == nullptr || node->childCount() > 0)
        return;
    util::WaitCursor hourglass;
    util::UpdatesSuspended suspended(*this);
    const int index = NodeIndex(node);
    const int first = treeData_->FirstChildren.Items(index);
    const int count = treeData_->ChildCounts.Items(index);
    QList<QTreeWidgetItem*> children;
    for (int i = first; count > 0 && i < first + count && i < treeData_->Count(); ++i)
        children.append(CreateNode(i));
    node->addChildren(children);
}

void TBrowzerOutline::ExpandLoaded(QTreeWidgetItem* node) {
    LoadChildren(node);
    node->setExpanded(true);
}

int TBrowzerOutline::NodeIndex(const QTreeWidgetItem* node) {
    return node == nullptr ? -1 : node->data(0, kIndexRole).toInt();
}

QTreeWidgetItem* TBrowzerOutline::SelectedNode() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int TBrowzerOutline::ImageIndex(const QTreeWidgetItem* node) const {
    const int index = NodeIndex(node);
    if (index < 0 || index >= treeData_->Count())
        return tiDocument;
    if (treeData_->ChildCounts.Items(index) != 0)
        return tiFolder;
    try {
        return treeData_->Dates.Items(index) > util::Settings().NewSinceDate ? tiNewDocument
                                                                             : tiDocument;
    } catch (const rtl::Exception&) {
        // A damaged date must not break painting; such an entry is not marked as new.
        return tiDocument;
    }
}

void TBrowzerOutline::KeepSelectionVisible(QTreeWidgetItem* collapsed) {
    for (QTreeWidgetItem* n = SelectedNode(); n != nullptr; n = n->parent()) {
        if (n->parent() == collapsed) {
            SelectNode(collapsed);
            return;
        }
    }
}

void TBrowzerOutline::SelectNode(QTreeWidgetItem* node) {
    setCurrentItem(node);
    node->setSelected(true);
    scrollToItem(node);
}

QTreeWidgetItem* TBrowzerOutline::SelectIndex(int index) {
    const int count = treeData_->Count();
    if (index < 0 || index >= count)
        return nullptr;
    // Sibling positions from the top level down; parents always have smaller indices.
    std::vector<int> path;
    for (int i = index; i >= 0;) {
        const int parent = treeData_->Parents.Items(i);
        if (parent >= i)
            return nullptr;
        const int first = parent < 0 ? 0 : treeData_->FirstChildren.Items(parent);
        path.insert(path.begin(), i - first);
        i = parent;
    }
    QTreeWidgetItem* node = nullptr;
    {
        util::UpdatesSuspended suspended(*this);
        for (std::size_t level = 0; level < path.size(); ++level) {
            const int position = path[level];
            node = level == 0 ? topLevelItem(position) : node->child(position);
            if (node == nullptr)
                return nullptr;
            if (level + 1 < path.size())
                ExpandLoaded(node);
        }
    }
    SelectNode(node);
    return node;
}

void TBrowzerOutline::SendKey(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(this, &press);
}

void TBrowzerOutline::MoveDown() {
    SendKey(Qt::Key_Down);
}

void TBrowzerOutline::MoveUp() {
    SendKey(Qt::Key_Up);
}

void TBrowzerOutline::MoveLevelUp() {
    SendKey(Qt::Key_Left);
}

QTreeWidgetItem* TBrowzerOutline::NextInTreeOrder(QTreeWidgetItem* node) const {
    if (node->childCount() > 0)
        return node->child(0);
    for (QTreeWidgetItem* n = node; n != nullptr; n = n->parent()) {
        QTreeWidgetItem* parent = n->parent();
        const int position = parent ? parent->indexOfChild(n) : indexOfTopLevelItem(n);
        const int siblings = parent ? parent->childCount() : topLevelItemCount();
        if (position + 1 < siblings)
            return parent ? parent->child(position + 1) : topLevelItem(position + 1);
    }
    return nullptr;
}

void TBrowzerOutline::MoveNext() {
    QTreeWidgetItem* node = SelectedNode();
    if (node == nullptr)
        return;
    ExpandLoaded(node);
    if (QTreeWidgetItem* next = NextInTreeOrder(node))
        SelectNode(next);
}

bool TBrowzerOutline::HoldsMoreThanOneNode() const {
    const int top = topLevelItemCount();
    return top > 1 || (top == 1 && topLevelItem(0)->childCount() > 0);
}

void TBrowzerOutline::CollapseAll(QTreeWidgetItem* node) {
    for (int i = 0; i < node->childCount(); ++i)
        CollapseAll(node->child(i));
    node->setExpanded(false);
}

void TBrowzerOutline::ResetView() {
    if (!HoldsMoreThanOneNode())
        return;
    {
        util::UpdatesSuspended suspended(*this);
        QTreeWidgetItem* first = topLevelItem(0);
        CollapseAll(first);
        ExpandLoaded(first);
    }
    SelectNode(topLevelItem(0));
}

void TBrowzerOutline::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit RightButtonPressed();
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

} // namespace browser
