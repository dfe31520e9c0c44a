#pragma once

// A small reader of .xlsx files for the tests, independent of the writer:
// it unpacks the archive and reads the XML parts with QXmlStreamReader.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

struct XlsxCell {
    bool present = false;
    QString type;  // the t attribute: "" (a number), "inlineStr", "s", "str", ...
    QString text;  // a number as written, or the string
    int style = 0; // index into the cell formats
};

struct XlsxSheet {
    QList<QList<XlsxCell>> rows; // [row][column], both 0-based, of the rows kept
    QMap<int, double> widths;    // column -> width, for columns given one
    int rowCount = 0;            // up to the last row with a cell, kept or not
    int RowCount() const { return rowCount; }
    const XlsxCell* Cell(int row, int column) const; // null where there is no cell
};

class XlsxBook {
public:
    // False with Error() when the file is no readable workbook. Cells of
    // rows from keepFrom to skipFrom - 1 are not kept (a large sheet is
    // checked at its ends), but counted.
    bool Load(const QString& path, int skipFrom = -1, int keepFrom = -1);
    const QString& Error() const { return m_error; }

    QStringList SheetNames() const { return m_names; }
    const XlsxSheet* Sheet(const QString& name) const;
    QString NumberFormat(int style) const; // the format code of a cell format
    bool RedFont(int style) const;

private:
    bool ReadWorkbook();
    bool ReadStyles();
    bool ReadSheet(const QString& name, const QString& part);

    QMap<QString, QByteArray> m_parts;
    QStringList m_names;
    QStringList m_shared;
    QMap<QString, XlsxSheet> m_sheets;
    QList<int> m_xfNumFmt, m_xfFont;
    QMap<int, QString> m_numFmts;
    QList<bool> m_fontRed;
    QString m_error;
    int m_skipFrom = -1, m_keepFrom = -1;
};

// An Excel serial date-time (days since 1899-12-30) as "Y-M-D HH:MM".
QString SerialToText(double serial);
