// TBrowzerOutline: the overview tree. It owns the catalogue's tree data, shows the top level at
// once and adds a node's children the first time the node is expanded. Each node carries the
// tree-data index of its entry; its image is asked for on every paint, so a changed
// NewSinceDate shows after a repaint.
#pragma once

#include "catalog/TreeViewData.h"

#include <QIcon>
#include <QTreeWidget>
#include <array>
#include <memory>

namespace catalog {
class TBrowzerContainer;
}

namespace browser {

class TBrowzerOutline : public QTreeWidget {
    Q_OBJECT

public:
    explicit TBrowzerOutline(QWidget* parent = nullptr);
    ~TBrowzerOutline() override;

    catalog::TTreeViewData& TreeData() { return *treeData_; }
    const catalog::TTreeViewData& TreeData() const { return *treeData_; }

    // The node last handed to the main window by the selection watcher.
    QTreeWidgetItem* LastShownNode() const { return lastShownNode_; }
    void SetLastShownNode(QTreeWidgetItem* node) { lastShownNode_ = node; }

    // Loads the tree data from the container and builds the top level; the first node is
    // expanded.
    void FillTree(catalog::TBrowzerContainer& container);

    // Expands the path to the entry and selects it; nullptr (and no change) for an index that
    // is not a node.
    QTreeWidgetItem* SelectIndex(int index);

    // One line down, one line up, one level up: the tree's own Down, Up and Left keys.
    void MoveDown();
    void MoveUp();
    void MoveLevelUp();
    // Expands the selected node and selects the next node in tree order.
    void MoveNext();
    // Collapses the first top-level node to one level and selects the top node.
    void ResetView();

    QTreeWidgetItem* SelectedNode() const;
    // The tree-data index a node carries.
    static int NodeIndex(const QTreeWidgetItem* node);
    // 1 for a node with children, 2 for a childless entry dated after NewSinceDate, else 0.
    int ImageIndex(const QTreeWidgetItem* node) const;
    const QIcon& Image(int index) const { return images_.at(index); }

    // Adds the node's children unless they are there already.
    void LoadChildren(QTreeWidgetItem* node);

signals:
    // A right button press; it does not change the selection.
    void RightButtonPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTreeWidgetItem* CreateNode(int index) const;
    void SendKey(int key);
    void CollapseAll(QTreeWidgetItem* node);
    bool HoldsMoreThanOneNode() const;
    QTreeWidgetItem* NextInTreeOrder(QTreeWidgetItem* node) const;
    void ExpandLoaded(QTreeWidgetItem* node);
    void SelectNode(QTreeWidgetItem* node);
    // A collapse that hides the selected node selects the collapsed node instead, as the
    // platform's tree does; otherwise the moves would start from a hidden node.
    void KeepSelectionVisible(QTreeWidgetItem* collapsed);

    std::unique_ptr<catalog::TTreeViewData> treeData_;
    QTreeWidgetItem* lastShownNode_ = nullptr;
    std::array<QIcon, 3> images_;
};

} // namespace browser
