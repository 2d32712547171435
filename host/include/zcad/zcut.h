#pragma once
// Utilities of the host's command-line interface that work on strings and result buffers
// (zcut*), beside the result-buffer functions of zds.h.
#include "zcad/zds.h"

// Wildcard match of `string` against `pattern`: RTNORM when it matches, RTERROR otherwise
// (also for a null string or pattern). Case-sensitive. Pattern characters:
//   #  any digit            @  any letter            .  any character that is neither
//   *  any sequence (empty included)                 ?  any one character
//   [...]  one of the characters listed, with ranges (a-z); [~...] one not listed
//   ~  first in an alternative: anything the rest does not match
//   `  the next character as it is (`# is a '#')
//   ,  separates alternatives: the string matches when one of them does
// A '[' without its ']' is an ordinary character; so is a '~' that is not first.
int zcutWcMatch(const ZTCHAR* string, const ZTCHAR* pattern);
