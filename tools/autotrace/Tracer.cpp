#include "Tracer.h"

#include <memory>

#include "DxfPolylines.h"
#include "StepBitmaps.h"
#include "platform/AtomicFile.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcimage.h"

namespace vtcad::tracer {

namespace {

struct ParamDeleter {
  void operator()(potrace_param_t* p) const { potrace_param_free(p); }
};
struct StateDeleter {
  void operator()(potrace_state_t* s) const { potrace_state_free(s); }
};

}  // namespace

TraceResult traceFile(const TracerOptions& options) {
  TraceResult result;
  CImage picture;
  const std::wstring input = platform::wideFromPath(std::filesystem::path(options.input));
  if (FAILED(picture.Load(input.c_str()))) {
    result.error = platform::encodeUtf8(picture.GetLoadMessage());
    return result;
  }
  std::unique_ptr<potrace_param_t, ParamDeleter> param(potrace_param_default());
  if (!param) {
    result.error = "out of memory";
    return result;
  }
  const GreySteps grey = greySteps(picture, options.colorCount);
  picture.Destroy();
  std::vector<TracedLayer> layers;
  for (int k = 0; k + 1 < options.colorCount; ++k) {
    const StepBitmap bitmap = stepBitmap(grey, k);
    std::unique_ptr<potrace_state_t, StateDeleter> state(potrace_trace(param.get(), &bitmap.bitmap()));
    if (!state || state->status != POTRACE_STATUS_OK) {
      result.error = "tracing failed (out of memory)";
      return result;
    }
    TracedLayer layer;
    // Two steps: one layer of black paths. More: STEP1 the darkest, each named by its number.
    layer.name = options.colorCount == 2 ? std::string("TRACE") : "STEP" + std::to_string(k + 1);
    // The middle grey of the step.
    layer.grey = (2 * k + 1) * 255 / (2 * options.colorCount);
    for (const potrace_path_t* path = state->plist; path; path = path->next) {
      std::vector<Point> polygon = flattenCurve(path->curve, kFlatteningTolerance);
      if (polygon.size() < 3) continue;
      layer.polylines.push_back(std::move(polygon));
      ++result.polylines;
    }
    layers.push_back(std::move(layer));
  }
  if (auto error = platform::replaceFileAtomically(std::filesystem::path(options.output), dxfDrawing(layers),
                                                   /*newFileMode=*/0644)) {
    result.error = *error;
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace vtcad::tracer
