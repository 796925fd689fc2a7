// The window's reader and writer procedures over the record store.
#include "core/DataFileProcedures.h"

#include "core/RecordStore.h"
#include "mainwindow/frmTabulet.h"
#include "platform/Questions.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace datafile {

StoreReading readIntoStore(RecordStore& store, QByteArrayView fileBytes)
{
    ReadResult result = read(fileBytes);
    StoreReading reading;
    reading.recordsRead = result.records.size();
    // Taken before the texts move into the store; sharing it copies nothing.
    reading.shownText =
        result.shownText(std::min<qint64>(reading.recordsRead, store.capacityLeft()));

    QList<RecordStore::NewRecord> records;
    records.reserve(result.records.size());
    for (Record& record : result.records)
        records.append({std::move(record.header), std::move(record.text)});
    reading.recordsAdded = store.addRecords(std::move(records));
    return reading;
}

void writeStore(QString& output, const RecordStore& store, const QString& asciiHeader,
                const QString& asciiText)
{
    const auto recordAt = [&store](qsizetype position) {
        const int row = int(position);
        return Record{store.headerAt(row), store.recordText(store.recordIndexAt(row))};
    };
    write(output, store.count(), recordAt, asciiHeader, asciiText);
}

} // namespace datafile

void frmTabulet::FileInSub(const QByteArray& fileBytes)
{
    const datafile::StoreReading reading = datafile::readIntoStore(store(), fileBytes);
    if (reading.recordsAdded < reading.recordsRead) {
        // Record indices are never handed out twice in a run, so a run that has used them up
        // cannot take the rest; a new run can. Saving now would cut the file short.
        m_services.questions.messageBox(
            this, tr("Tabulet"),
            tr("This file has %1 records, more than can be added in this run of Tabulet. Only "
               "the first %2 were read; the rest of the file was not read.\n\nSaving now would "
               "write only the records that were read. Start Tabulet again to read the whole "
               "file.")
                .arg(reading.recordsRead)
                .arg(reading.recordsAdded),
            QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok);
    }
    // Only the final state reaches the data field; no entry is selected, so nothing is stored.
    if (reading.shownText)
        setDataFieldText(*reading.shownText);
}

void frmTabulet::FileOutSub()
{
    const QString asciiText = m_services.settings.read(PreferenceKey::AsciiText);
    const QString asciiHeader = m_services.settings.read(PreferenceKey::AsciiHeader);
    datafile::writeStore(OutputText, store(), asciiHeader, asciiText);
}
