// SETVAR from a script: a value of each type read and stored, Enter keeping the value, and
// names and values refused with a message.
#include <cstdlib>

#include "EditCommandTestSupport.h"
#include "zcad/zced.h"

namespace edit_test {
namespace {

using SetVarCommandTest = EditCommandTest;

resbuf variable(const wchar_t* name) {
  resbuf rb{};
  EXPECT_EQ(zcedGetVar(name, &rb), RTNORM) << name;
  return rb;
}

TEST_F(SetVarCommandTest, ValuesOfEachTypeAreReadAndStored) {
  run(L"SETVAR LWDISPLAY 1\nSETVAR lwdefault 50\nSETVAR TEXTSIZE 3.5\nSETVAR LIMMAX 841,594\n");
  EXPECT_EQ(variable(L"LWDISPLAY").resval.rint, 1);
  EXPECT_EQ(variable(L"LWDEFAULT").resval.rint, 50);
  EXPECT_DOUBLE_EQ(variable(L"TEXTSIZE").resval.rreal, 3.5);
  EXPECT_DOUBLE_EQ(variable(L"LIMMAX").resval.rpoint[0], 841.0);
  run(L"SETVAR USERS1 two words\n");
  resbuf text = variable(L"USERS1");
  ASSERT_EQ(text.restype, RTSTR);
  EXPECT_EQ(std::wstring(text.resval.rstring), L"two words");
  std::free(text.resval.rstring);

  EXPECT_NE(run(L"SETVAR TEXTSIZE\n\n").find("Enter new value for TEXTSIZE <3.5>"), std::string::npos);
  EXPECT_DOUBLE_EQ(variable(L"TEXTSIZE").resval.rreal, 3.5) << "Enter keeps the value";
}

TEST_F(SetVarCommandTest, UnknownNamesAndRefusedValuesAreSaidAndChangeNothing) {
  run(L"SETVAR NOSUCHVARIABLE\n");
  EXPECT_TRUE(said("Unknown variable name \"NOSUCHVARIABLE\".")) << transcript_;
  // Out of range, not a standard lineweight, not a whole number, not a number, read-only.
  for (const wchar_t* refused :
       {L"LWDISPLAY 2", L"LWDEFAULT 17", L"LWDEFAULT -3", L"PDMODE 1.5", L"TEXTSIZE big", L"CMDACTIVE 1"}) {
    transcript_.clear();
    run(std::wstring(L"SETVAR ") + refused + L"\n");
    EXPECT_TRUE(said("Invalid value for ")) << transcript_;
  }
  EXPECT_EQ(variable(L"LWDISPLAY").resval.rint, 0);
  EXPECT_EQ(variable(L"LWDEFAULT").resval.rint, 25);
  EXPECT_EQ(variable(L"PDMODE").resval.rint, 0);
}

}  // namespace
}  // namespace edit_test
