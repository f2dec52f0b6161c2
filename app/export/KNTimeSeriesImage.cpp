#include "KNTimeSeriesImage.h"

#include "Exploration.h"
#include "KNImageExporter.h"
#include "KNPlotPicture.h"
#include "KNTimeSeriesPicture.h"
#include "Path.h"
#include "Seed.h"

bool KNTimeSeriesImage::write(KNPlotPicture& plot, const kinora::Exploration& exploration,
                              QSize size, const std::string& path, KNError* error) {
    Seed* first = plot.seedAt(0);
    if (first == nullptr) {
        *error = {"KNExportErrorDomain", 0,
                  "Cannot draw the time series: the file has no seed whose paths it would show."};
        return false;
    }
    std::vector<KNTimeSeriesPicture::Trace> traces;
    for (const Path* shown : plot.pathsOf(first)) {
        traces.push_back({shown->mesh, shown->sValue, shown->firstStep});
    }
    KNTimeSeriesPicture panel;
    panel.setUp(nullptr);
    panel.showTraces(traces, exploration.pathBounds(0), exploration.integrator().integrationStep(),
                     exploration.pathDuration());
    panel.setTimeFraction(plot.timeFraction());
    return KNImageExporter::write(panel, size.width(), size.height(), 1.0, path, error);
}
