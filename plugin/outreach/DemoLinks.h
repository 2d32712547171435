#pragma once
// The demonstration commands: each opens the address of its setting ("Demo1" … "Demo8", and
// "SiblingDemo1" … "SiblingDemo3" for the demonstrations of sibling applications), or else
// the address given for that name in the file "demolinks.txt" in the plug-in's folder (lines
// "Demo3=https://…"; "#" starts a comment). Without either it says so.
#include <string>

namespace veltrace::outreach {

inline constexpr const wchar_t* kDemoLinksFile = L"demolinks.txt";

// The address configured for the demonstration `name` ("Demo1"), or the empty text.
std::wstring demoAddress(const wchar_t* name);
// Opens the demonstration `name` in the user's browser, or says none is configured.
void openDemo(const wchar_t* name);

// The command bodies.
void demo1Command();
void demo2Command();
void demo3Command();
void demo4Command();
void demo5Command();
void demo6Command();
void demo7Command();
void demo8Command();
void siblingDemo1Command();
void siblingDemo2Command();
void siblingDemo3Command();

}  // namespace veltrace::outreach
