#include "commands/Document.h"

#include "database/ZcDbDatabaseImpl.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfText.h"
#include "editor/EntityNames.h"
#include "editor/ProgressMeter.h"
#include "editor/Session.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbDatabase.h"

namespace vtcad::commands {

Document& Document::instance() {
  static Document* document = new Document;  // outlives plug-ins that still hold ids at exit
  return *document;
}

void Document::makeWorking() {
  zcdbHostApplicationServices()->setWorkingDatabase(database_.get());
  nameChanged();
  savedChanges_ = changeCount();
}

unsigned long long Document::changeCount() const {
  const ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(database_.get());
  return impl ? impl->changes : 0;
}

bool Document::modified() const { return database_ && changeCount() != savedChanges_; }

void Document::changeUnmodified(const std::function<void()>& change) {
  const bool wasModified = modified();
  change();
  if (!wasModified) savedChanges_ = changeCount();
}

// DWGNAME and DWGPREFIX follow the file; a new drawing is "Drawing1.dxf" in the current folder.
void Document::nameChanged() {
  std::error_code error;
  std::filesystem::path absolute = path_.empty() ? std::filesystem::current_path(error) / "Drawing1.dxf"
                                                 : std::filesystem::absolute(path_, error);
  std::string folder = absolute.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  editor::setDrawingName(dxf::utf8ToWide(absolute.filename().string()), dxf::utf8ToWide(folder));
}

void Document::openNew() {
  editor::forgetEntityNames();
  database_ = std::make_unique<ZcDbDatabase>();
  path_.clear();
  recovered_ = false;
  makeWorking();
}

namespace {

// Opening and saving a large drawing show how far they have come and stop at Ctrl+C.
dxf::Progress meterWithBreak(editor::ProgressScope& meter) {
  return [&meter](double done, double /*total*/) {
    meter.update(done);
    return !editor::Session::instance().userBreak();
  };
}

}  // namespace

Document::OpenResult Document::open(const std::filesystem::path& path, dxf::Recovery recovery) {
  std::error_code error;
  const auto bytes = std::filesystem::file_size(path, error);
  editor::ProgressScope meter(L"Opening " + dxf::utf8ToWide(path.filename().string()),
                              error ? 1.0 : static_cast<double>(bytes));
  dxf::LoadResult loaded = dxf::loadDxfFile(path, recovery, meterWithBreak(meter));
  if (!loaded.database) return OpenResult{false, loaded.refusal, loaded.damaged, 0};
  editor::Session& session = editor::Session::instance();
  for (const auto& message : loaded.messages) {
    // Appended piece by piece: GCC 12 at -O3 sees a false overlap (-Wrestrict) in the
    // operator+ chain of a literal and temporaries.
    std::string line = "\n";
    line.append(path.string()).append(": ");
    if (message.severity == dxf::LoadSeverity::kLoss) line.append("lost: ");
    line.append(dxf::formatLoadMessage(message));
    session.print(dxf::utf8ToWide(line));
  }
  if (recovery == dxf::Recovery::kRecover) {
    std::string audit = "\nAudit of ";
    audit.append(path.filename().string())
        .append(": ")
        .append(std::to_string(loaded.messages.size()))
        .append(loaded.messages.size() == 1 ? " problem, " : " problems, ")
        .append(std::to_string(loaded.losses))
        .append(loaded.losses == 1 ? " of them a loss." : " of them losses.");
    if (loaded.losses > 0) audit.append(" What was lost is not in the drawing.");
    session.print(dxf::utf8ToWide(audit));
  }
  editor::forgetEntityNames();
  database_ = std::move(loaded.database);
  path_ = path;
  // A recovered drawing lacks what was lost: it goes over its source only when asked by name.
  recovered_ = loaded.losses > 0;
  makeWorking();
  return OpenResult{true, {}, false, loaded.losses};
}

Document::SaveResult Document::saveAs(const std::filesystem::path& path) {
  if (!database_) return SaveResult{false, "no drawing is open"};
  editor::ProgressScope meter(L"Saving " + dxf::utf8ToWide(path.filename().string()),
                              static_cast<double>(database_->approxNumObjects()));
  dxf::SaveResult saved = dxf::saveDxfFile(*database_, path, meterWithBreak(meter));
  if (!saved.ok) return SaveResult{false, saved.message};
  path_ = path;
  recovered_ = false;
  nameChanged();
  savedChanges_ = changeCount();
  return SaveResult{true, {}};
}

void Document::close() {
  if (zcdbHostApplicationServices()->workingDatabase() == database_.get()) {
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  }
  editor::forgetEntityNames();
  database_.reset();
}

}  // namespace vtcad::commands
