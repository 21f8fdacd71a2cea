// Measures what the archive and deviation pages cost at start-up (building the grids and the
// 638-leaf tree, the first load and the first paint) and how long ticking a 49-leaf category
// takes. Not a test: run it by hand, offscreen.
//   bench_selectionpages [COUNT]
#include "model/ConfigModel.h"
#include "selection/ArhiveView.h"
#include "selection/LimitView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 5;
    ConfigModel model = NewConfigModel();
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto archive = std::make_unique<CArhiveView>();
        const qint64 archiveBuilt = timer.nsecsElapsed();
        auto limits = std::make_unique<CLimitView>();
        const qint64 limitsBuilt = timer.nsecsElapsed();
        archive->ExchangeWithModel(model, CFormPage::ToPage);
        limits->ExchangeWithModel(model, CFormPage::ToPage);
        const qint64 loaded = timer.nsecsElapsed();
        archive->resize(1000, 600);
        limits->resize(1000, 600);
        archive->grab();
        limits->grab();
        const qint64 painted = timer.nsecsElapsed();
        timer.restart();
        limits->OnImageClicked(limits->CategoryItem(2));
        const qint64 ticked = timer.nsecsElapsed();
        std::printf("archive built %.1f ms, limits built %.1f ms, loaded %.1f ms, painted %.1f ms; "
                    "49-leaf category ticked %.2f ms\n",
                    archiveBuilt / 1e6, (limitsBuilt - archiveBuilt) / 1e6, (loaded - limitsBuilt) / 1e6,
                    (painted - loaded) / 1e6, ticked / 1e6);
    }
    return 0;
}
