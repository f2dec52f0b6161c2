#include "KNTimeSeriesImage.h"

#include "Exploration.h"
#include "KNImageExporter.h"
#include "KNPlotView.h"
#include "KNTimeSeriesView.h"
#include "Path.h"
#include "Seed.h"

bool KNTimeSeriesImage::write(KNPlotView& plotView, const kinora::Exploration& exploration,
                              QSize size, const std::string& path, KNError* error) {
    Seed* first = nullptr;
    plotView.enumerateSeedsWithBlock([&first](Seed* seed) {
        if (first == nullptr) {
            first = seed;
        }
    });
    if (first == nullptr) {
        *error = {"KNExportErrorDomain", 0,
                  "Cannot draw the time series: the file has no seed whose paths it would show."};
        return false;
    }
    std::vector<KNTimeSeriesView::Trace> traces;
    for (const Path* shown : plotView.pathsOf(first)) {
        traces.push_back({shown->mesh, shown->sValue, shown->firstStep});
    }
    KNTimeSeriesView panel;
    panel.create();
    panel.awakeFromNib();
    panel.resize(size);
    panel.showTraces(traces, exploration.pathBounds(0), exploration.integrator().integrationStep(),
                     exploration.pathDuration());
    panel.setTimeFraction(plotView.timeFraction());
    return KNImageExporter::write(panel.scenePicture(), size.width(), size.height(), 1.0, path,
                                  error);
}
