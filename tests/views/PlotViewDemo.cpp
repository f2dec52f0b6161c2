#include "KNPlotView.h"
#include "Seed.h"

#include <QGuiApplication>
#include <QTimer>
#include <cmath>
#include <cstdint>
#include <vector>

// Shows a plot view with one seed and three hand-made paths, as a visual check of the views on
// the current display. With a number of seconds as argument it closes itself after that time.
int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    KNPlotView view;
    view.setTitle("Kinora plot view");
    view.resize(640, 480);
    view.show();
    view.create();
    view.awakeFromNib();
    view.update();

    Seed* seed = view.addSeed();
    seed->transform.position = kinora::Vector3(1.0, 1.0, 1.0);
    // Three spirals out of the seed, for the start, the middle and the end of a sweep.
    for (int m = 0; m < 3; ++m) {
        std::vector<float> vertices;
        std::vector<std::uint32_t> indices;
        const int count = 400;
        for (int i = 0; i < count; ++i) {
            const double angle = i * 0.05 + m * 2.0;
            const double radius = 0.2 + i * (0.008 + m * 0.002);
            const double x = 1.0 + radius * std::cos(angle);
            const double y = 1.0 + radius * std::sin(angle);
            const double z = 1.0 + i * 0.004;
            vertices.insert(vertices.end(),
                            {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
                             static_cast<float>(x - 1.0), static_cast<float>(y - 1.0),
                             static_cast<float>(z - 1.0)});
            indices.push_back(static_cast<std::uint32_t>(i));
        }
        view.replacePathWithID(seed->pathIDs[m], vertices.data(), indices.data(), count, count,
                               static_cast<float>(m) / 2.0f);
    }
    view.redraw();

    if (argc > 1) {
        QTimer::singleShot(static_cast<int>(std::atof(argv[1]) * 1000.0), &application,
                           &QGuiApplication::quit);
    }
    return QGuiApplication::exec();
}
