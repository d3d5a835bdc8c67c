#pragma once

#include <QByteArray>

// What an .xls workbook stream (BIFF 5/8) will ask of FreeXL, found by one walk over its
// records before FreeXL reads the file. FreeXL trusts the file more than it should: it sets
// aside a slot for every cell each sheet's DIMENSIONS record declares, it turns a date into
// text by counting the days one at a time, and it reads past its buffers on some malformed
// records.
struct TXlsStreamDemand
{
    // The cells the DIMENSIONS records declare, each sheet counted from A1: in all, and of the
    // largest sheet.
    qint64 CellSlots = 0;
    qint64 LargestSheetSlots = 0;
    // The days FreeXL counts for the numbers whose format may be a date or time.
    qint64 DateDays = 0;
};

// Raises Exception carrying the problem on what FreeXL reads past its buffers or crashes on:
// a record longer than the format allows, running past the end of the stream or too short
// for the fields FreeXL reads from it; a sheet with a second DIMENSIONS record, or a sheet
// (listed by a BOUNDSHEET record) without a substream of its own holding one; a shared
// string table that does not hold the strings it claims, or a cell referring to a string
// beyond them; a LABEL or FORMAT string running past its record; a cell outside the listed
// sheets or the area its sheet declares; two records giving one cell of a sheet a value;
// more XF records than FreeXL keeps. Every substream is read as the BIFF version of the first BOF
// record, as FreeXL reads it.
TXlsStreamDemand XlsStreamDemand(const QByteArray& workbookStream);
