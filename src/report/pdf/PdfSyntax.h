#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The lexical pieces of the PDF format that the text reader needs: white
// space, delimiters, strings, dictionaries, keys, numbers and references.
namespace pdf {

bool IsSpace(char c);
bool IsDelimiter(char c);
bool IsDigit(char c);
qsizetype SkipSpaces(QByteArrayView s, qsizetype i);

// A literal string from the '(' at i: its bytes into out (when given);
// returns the index after the closing ')' (the end when there is none).
qsizetype ReadLiteral(QByteArrayView s, qsizetype i, QByteArray* out);
// A hex string from the '<' at i; returns the index after its '>'.
qsizetype ReadHex(QByteArrayView s, qsizetype i, QByteArray* out);
// The index after the dictionary that starts with "<<" at i; -1 when it
// does not end.
qsizetype DictEnd(QByteArrayView s, qsizetype i);
// The index right after key (a name such as "/Length") in dict, from from
// on; -1 when it is not there. "/Font" does not find "/FontFile2".
qsizetype FindKey(QByteArrayView dict, QByteArrayView key, qsizetype from = 0);
// A whole number at i into value (-1 when there is none); the index after it.
qsizetype ReadInt(QByteArrayView s, qsizetype i, long long& value);
// "N G R" at i (after blanks): N, with i moved past it; -1 when there is none.
long long ReadRef(QByteArrayView s, qsizetype& i);

} // namespace pdf
