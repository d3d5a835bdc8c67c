#include "excel/Workbook.h"
#include "support/Exception.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

class ExcelOpenWorkbookTest : public testing::Test
{
protected:
    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }

    // The message OpenWorkbook fails with.
    static QString OpenError(const QString& path)
    {
        try {
            OpenWorkbook(path);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("(opened)");
    }

    static QString Expected(const QString& path, const char* problem)
    {
        return QStringLiteral("Cannot read workbook \"%1\": %2").arg(path, QString::fromUtf8(problem));
    }

    QTemporaryDir FDir;
};

const std::string OneCellSheet = WorksheetXml(R"(<row r="1"><c r="A1"><v>1</v></c></row>)");

TEST_F(ExcelOpenWorkbookTest, MissingFile)
{
    EXPECT_EQ(OpenError(Path("missing.xlsx")), Expected(Path("missing.xlsx"), "the file does not exist"));
}

TEST_F(ExcelOpenWorkbookTest, EmptyFile)
{
    WriteFileBytes(Path("empty.xlsx"), {});
    EXPECT_EQ(OpenError(Path("empty.xlsx")), Expected(Path("empty.xlsx"), "the file is empty"));
}

TEST_F(ExcelOpenWorkbookTest, Directory)
{
    ASSERT_TRUE(QDir(FDir.path()).mkdir(QStringLiteral("folder.xlsx")));
    EXPECT_TRUE(OpenError(Path("folder.xlsx")).startsWith(Expected(Path("folder.xlsx"), "the file cannot be opened")))
        << OpenError(Path("folder.xlsx")).toStdString();
}

TEST_F(ExcelOpenWorkbookTest, FileOfAnotherKind)
{
    WriteFileBytes(Path("notes.xlsx"), "Abstract;Electricity\n1;2\n");
    EXPECT_EQ(OpenError(Path("notes.xlsx")), Expected(Path("notes.xlsx"), "the file is neither an .xlsx nor an .xls workbook"));
}

TEST_F(ExcelOpenWorkbookTest, KindIsToldByContentNotByName)
{
    WriteZip(Path("really-xlsx.xls"), XlsxEntries({{"Gas", OneCellSheet}}));
    EXPECT_EQ(OpenWorkbook(Path("really-xlsx.xls"))->Worksheets().Item(1).Name(), QStringLiteral("Gas"));
}

TEST_F(ExcelOpenWorkbookTest, TruncatedZip)
{
    WriteZip(Path("whole.xlsx"), XlsxEntries({{"Gas", OneCellSheet}}));
    const QByteArray whole = ReadFileBytes(Path("whole.xlsx"));
    WriteFileBytes(Path("cut.xlsx"), whole.left(whole.size() / 2));
    EXPECT_TRUE(OpenError(Path("cut.xlsx")).startsWith(Expected(Path("cut.xlsx"), "the file is not a valid ZIP archive")))
        << OpenError(Path("cut.xlsx")).toStdString();
}

TEST_F(ExcelOpenWorkbookTest, ZipThatIsNoWorkbook)
{
    WriteZip(Path("other.xlsx"), {{"readme.txt", "hello"}});
    EXPECT_EQ(OpenError(Path("other.xlsx")), Expected(Path("other.xlsx"), "xl/workbook.xml is missing"));
}

// 64 MiB of zeros deflate to some 64 KiB: far beyond the ratio a worksheet may have.
TEST_F(ExcelOpenWorkbookTest, ZipBombFailsEarly)
{
    TZipEntries entries = XlsxEntries({{"Bomb", OneCellSheet}});
    entries[0].second = std::string(std::size_t{64} << 20, '\0');
    WriteZip(Path("bomb.xlsx"), entries);
    ASSERT_LT(ReadFileBytes(Path("bomb.xlsx")).size(), 1 << 20);

    const std::unique_ptr<TWorkbook> workbook = OpenWorkbook(Path("bomb.xlsx")); // the sheet is read on first use
    try {
        workbook->Worksheets().Item(1).UsedRangeValue();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), Expected(Path("bomb.xlsx"),
                                   "worksheet \"Bomb\": xl/worksheets/sheet1.xml decompresses to more than 200 times its compressed size"));
    }
}

// ---- packages whose structure is damaged ----

struct TPackageCase
{
    const char* Name;
    std::function<void(TZipEntries&)> Damage;
    const char* Problem;
};

void PrintTo(const TPackageCase& c, std::ostream* os)
{
    *os << c.Name;
}

std::string& Entry(TZipEntries& entries, const std::string& name)
{
    for (auto& [entryName, content] : entries) {
        if (entryName == name)
            return content;
    }
    throw std::runtime_error("no entry " + name);
}

void Erase(TZipEntries& entries, const std::string& name)
{
    std::erase_if(entries, [&](const auto& entry) { return entry.first == name; });
}

class ExcelDamagedPackageTest : public ExcelOpenWorkbookTest, public testing::WithParamInterface<TPackageCase> {};

TEST_P(ExcelDamagedPackageTest, FailsOnOpening)
{
    TZipEntries entries = XlsxEntries({{"S", OneCellSheet}}, SharedStringsXml("<si><t>a</t></si>"));
    GetParam().Damage(entries);
    WriteZip(Path("damaged.xlsx"), entries);
    EXPECT_EQ(OpenError(Path("damaged.xlsx")), Expected(Path("damaged.xlsx"), GetParam().Problem));
}

INSTANTIATE_TEST_SUITE_P(Packages, ExcelDamagedPackageTest,
    testing::Values(
        TPackageCase{"DoctypeInWorkbook",
            [](TZipEntries& e) { Entry(e, "xl/workbook.xml").insert(0, "<!DOCTYPE workbook [<!ENTITY a \"aaaa\">]>"); },
            "xl/workbook.xml: a DOCTYPE declaration is not allowed"},
        TPackageCase{"RelationshipsMissing", [](TZipEntries& e) { Erase(e, "xl/_rels/workbook.xml.rels"); },
            "xl/_rels/workbook.xml.rels is missing"},
        TPackageCase{"RelationshipOfTheSheetMissing",
            [](TZipEntries& e) {
                std::string& rels = Entry(e, "xl/_rels/workbook.xml.rels");
                rels.replace(rels.find("Id=\"rId1\""), 9, "Id=\"rId9\"");
            },
            "sheet \"S\" refers to the relationship \"rId1\", which xl/_rels/workbook.xml.rels lacks"},
        TPackageCase{"WorksheetPartMissing", [](TZipEntries& e) { Erase(e, "xl/worksheets/sheet1.xml"); },
            "xl/worksheets/sheet1.xml (worksheet \"S\") is missing"},
        TPackageCase{"SharedStringsOfAnotherKind", [](TZipEntries& e) { Entry(e, "xl/sharedStrings.xml") = "<styleSheet/>"; },
            "xl/sharedStrings.xml: the root element is <styleSheet>, not <sst>"}),
    [](const testing::TestParamInfo<TPackageCase>& testCase) { return std::string(testCase.param.Name); });

} // namespace
