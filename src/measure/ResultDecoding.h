#pragma once

#include <QString>

#include <vector>

// The display boxes a result reply is written into.
enum class ResultBox { TestNumber, Ppar, Pvalue, Punit, Bin, Spar, Svalue, Sunit };

struct BoxText {
    ResultBox box;
    QString text;
};

// A result reply split into box texts, in the order they are written. When the reply
// runs out of fields, the texts before the first missing one are kept and the decoding
// is incomplete: the run shows them and then fails.
struct DecodedReply {
    std::vector<BoxText> texts;
    int fieldCount = 0;
    int fieldsNeeded = 0;
    bool complete() const { return fieldCount >= fieldsNeeded; }
};

// LR40: CR LF pairs become TABs, pairs of TABs become one (a single pass from the left),
// then fields 0, 1, 2, 3, 5, 6, 7, 8 go to the test number, primary, bin and secondary boxes.
DecodedReply decodeLr40Reply(const QString& reply);

// PX80: a plain split at TAB; fields 0 to 5 go to the primary and secondary boxes.
DecodedReply decodePx80Reply(const QString& reply);

// The field without control characters: line ends, and the NUL, escape and other control
// bytes of a noisy line, never reach a display box or the log.
QString withoutControlCharacters(QString field);
