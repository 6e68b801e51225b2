#pragma once
// What a read of an ADIF log met besides well-formed fields, so that the
// load can tell the operator once.

#include <cstdint>

namespace kartex {

struct AdifReadReport {
  int64_t records = 0;                   // records read (each one ended by <EOR>)
  int64_t recoveredValues = 0;           // values read despite a broken length, text
                                         // after them, or control bytes in them
  int64_t replacedCharacters = 0;        // characters Windows-1250 cannot hold, now "?"
  int64_t fieldsLeftOut = 0;             // fields of names beyond the column limit
  bool incompleteRecordLeftOut = false;  // fields after the last <EOR>

  AdifReadReport& operator+=(const AdifReadReport& other) {
    records += other.records;
    recoveredValues += other.recoveredValues;
    replacedCharacters += other.replacedCharacters;
    fieldsLeftOut += other.fieldsLeftOut;
    incompleteRecordLeftOut = incompleteRecordLeftOut || other.incompleteRecordLeftOut;
    return *this;
  }
};

}  // namespace kartex
