#include "bench/SyntheticDatabase.h"

#include <array>

namespace {

const std::array<const char*, 12> Quantities{"Sum Li Active power+ (QI+QIV)", "Sum Li Active power- (QII+QIII)",
    "Sum Li Reactive power+ (QI+QII)", "Sum Li Reactive power- (QIII+QIV)", "Sum Li Apparent power+",
    "L1 Voltage", "L2 Voltage", "L3 Voltage", "L1 Current", "Supply frequency", "Sum Li Power factor",
    "Forward absolute meter volume"};
const std::array<const char*, 8> Processing{"Cumulative minimum 1", "Cumulative maximum 1", "Current average 1",
    "Last average 1", "Maximum 1", "Instantaneous value", "Time integral 1", "Over limit threshold"};

std::unique_ptr<TValue> Pattern(TValue value)
{
    return std::make_unique<TValue>(value);
}

std::unique_ptr<TOBISItemData> MakeDefinition(int index, quint8 media)
{
    auto item = std::make_unique<TOBISItemData>();
    item->LineNr = index + 1;
    const auto c = static_cast<quint8>(1 + index % 92);
    const auto d = static_cast<quint8>(index / 92 % 64);
    item->Values.SetValue(TColumn::A, Pattern(TValue::CreateSingle(media)));
    item->Values.SetValue(TColumn::B, Pattern(index % 3 == 0 ? TValue::CreateRange(0, 64) : TValue::CreateSingle(0)));
    item->Values.SetValue(TColumn::C, Pattern(TValue::CreateSingle(c)));
    item->Values.SetValue(TColumn::D, Pattern(TValue::CreateSingle(d)));
    TValue e = TValue::CreateRange(1, 63);
    if (index % 5 == 0)
        e.AddRange(128, 130);
    item->Values.SetValue(TColumn::E, Pattern(index % 2 == 0 ? e : TValue::CreateSingle(0)));
    item->Values.SetValue(TColumn::F, Pattern(index % 4 == 0 ? TValue::CreateRange(0, 99) : TValue::CreateSingle(255)));
    item->Texts = {index % 3 == 0 ? QStringLiteral("Channel $B") : QString(),
        QString::fromLatin1(Quantities[static_cast<std::size_t>(index) % Quantities.size()]),
        QString::fromLatin1(Processing[static_cast<std::size_t>(index / 7) % Processing.size()]),
        index % 2 == 0 ? QStringLiteral("Rate $E") : QStringLiteral("Total"),
        index % 4 == 0 ? QStringLiteral("Billing period $F (item %1)").arg(index) : QString()};
    if (index % 10 != 0) {
        item->InterfaceClasses = Pattern(TValue::CreateSingle(3));
        item->AltInterfaceClasses = Pattern(TValue::CreateRange(4, 5));
        item->ValueTypes = Pattern(TValue::CreateSingle(6));
    }
    return item;
}

} // namespace

std::unique_ptr<TOBISData> MakeSyntheticDatabase(int definitions)
{
    auto database = std::make_unique<TOBISData>();
    for (const quint8 media : {quint8{1}, quint8{7}})
        database->AllMediaData[media] = std::make_unique<TOBISMediaData>();
    for (int index = 0; index < definitions; ++index) {
        const quint8 media = index % 8 == 7 ? 7 : 1;
        database->AllMediaData[media]->Items.push_back(MakeDefinition(index, media));
    }
    return database;
}
