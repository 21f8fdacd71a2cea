// How long the add-parameter dialog takes: building its 638-leaf tree, expanding every
// category, ticking a category of 49 leaves (each followed by one repaint). Not a test:
// run it by hand (QT_QPA_PLATFORM=offscreen bench_groupdialog).
#include "selection/DialogListElements.h"

#include <QTest>
#include <QTreeWidget>

class GroupDialogBench : public QObject {
    Q_OBJECT
private slots:
    void buildDialog()
    {
        QBENCHMARK {
            CDialogListElements dialog(50);
            dialog.show();
            dialog.Tree()->viewport()->grab();
        }
    }
    void expandTheTree()
    {
        CDialogListElements dialog(50);
        dialog.show();
        QBENCHMARK {
            dialog.Tree()->expandAll();
            dialog.Tree()->viewport()->grab();
            dialog.Tree()->collapseAll();
        }
    }
    void tickACategoryOf49()
    {
        CDialogListElements dialog(50);
        dialog.show();
        QTreeWidgetItem* category = dialog.CategoryItem(8);
        category->setExpanded(true);
        dialog.Tree()->scrollToItem(category, QAbstractItemView::PositionAtTop);
        QBENCHMARK {
            dialog.ToggleItem(category);
            dialog.Tree()->viewport()->grab();
        }
    }
};

QTEST_MAIN(GroupDialogBench)
#include "bench_groupdialog.moc"
