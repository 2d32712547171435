// The Veltrace plug-in library. Its entry point and command table are built on the host's
// command line; until then the library only carries its release text.
namespace veltrace {
extern const wchar_t* const kReleaseText;
const wchar_t* const kReleaseText = L"V1.20";
}  // namespace veltrace
