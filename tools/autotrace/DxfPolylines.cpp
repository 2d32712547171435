#include "DxfPolylines.h"

#include <cstdio>

namespace vtcad::tracer {

namespace {

class Writer {
 public:
  void group(int code, const std::string& value) {
    text_ += std::to_string(code);
    text_ += '\n';
    text_ += value;
    text_ += '\n';
  }
  void group(int code, int value) { group(code, std::to_string(value)); }
  void real(int code, double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    group(code, buffer);
  }
  // Handles count up from 0x20; the tables' own come first.
  std::string handle() {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", next_++);
    return buffer;
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
  unsigned next_ = 0x20;
};

}  // namespace

std::string dxfDrawing(const std::vector<TracedLayer>& layers) {
  Writer w;
  w.group(0, "SECTION");
  w.group(2, "HEADER");
  w.group(9, "$ACADVER");
  w.group(1, "AC1015");
  w.group(0, "ENDSEC");

  w.group(0, "SECTION");
  w.group(2, "TABLES");
  w.group(0, "TABLE");
  w.group(2, "LAYER");
  const std::string table = w.handle();
  w.group(5, table);
  w.group(100, "AcDbSymbolTable");
  w.group(70, static_cast<int>(layers.size()) + 1);
  auto layer = [&](const std::string& name, int grey) {
    w.group(0, "LAYER");
    w.group(5, w.handle());
    w.group(330, table);
    w.group(100, "AcDbSymbolTableRecord");
    w.group(100, "AcDbLayerTableRecord");
    w.group(2, name);
    w.group(70, 0);
    w.group(62, 7);
    if (grey >= 0) w.group(420, grey * 65536 + grey * 256 + grey);
    w.group(6, "CONTINUOUS");
  };
  layer("0", -1);
  for (const TracedLayer& each : layers) layer(each.name, each.grey);
  w.group(0, "ENDTAB");
  w.group(0, "ENDSEC");

  w.group(0, "SECTION");
  w.group(2, "ENTITIES");
  for (const TracedLayer& each : layers) {
    for (const std::vector<Point>& polyline : each.polylines) {
      w.group(0, "LWPOLYLINE");
      w.group(5, w.handle());
      w.group(100, "AcDbEntity");
      w.group(8, each.name);
      w.group(100, "AcDbPolyline");
      w.group(90, static_cast<int>(polyline.size()));
      w.group(70, 1);  // closed
      for (const Point& p : polyline) {
        w.real(10, p.x);
        w.real(20, p.y);
      }
    }
  }
  w.group(0, "ENDSEC");
  w.group(0, "EOF");
  return w.take();
}

}  // namespace vtcad::tracer
