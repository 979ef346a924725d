#include "cli/plot_fit.h"

bool buildFitScene(const PlotOptions&, PlotScene&, std::string& message) {
    message = "--fit is not available yet";
    return false;
}
