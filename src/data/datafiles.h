#pragma once
// The twenty files of a data set: their names, their exact sizes and the
// order in which a data set is read.

#include <array>

enum class DataFile {
    All, Aus1, Aus2, Ein, Prog, Sch, Zwi, Kopf, Para, ParSperr,
    Anf, Mit, Versatz, Gsp, Melder, Super, Pw, GrMin, Konf, Namen,
};

struct DataFileInfo {
    DataFile file;
    const char *name;
    int size;  // a file of any other size is replaced by defaults
};

// In reading order: ALL.DAT comes before KONF.DAT, NAMEN.DAT comes last.
inline constexpr std::array<DataFileInfo, 20> kDataFiles = {{
    {DataFile::All, "ALL.DAT", 123},
    {DataFile::Aus1, "AUS1.DAT", 1368},
    {DataFile::Aus2, "AUS2.DAT", 1368},
    {DataFile::Ein, "EIN.DAT", 1368},
    {DataFile::Prog, "PROG.DAT", 17490},
    {DataFile::Sch, "SCH.DAT", 1120},
    {DataFile::Zwi, "ZWI.DAT", 17280},
    {DataFile::Kopf, "KOPF.DAT", 96},
    {DataFile::Para, "PARA.DAT", 3456},
    {DataFile::ParSperr, "PARSPERR.DAT", 3456},
    {DataFile::Anf, "ANF.DAT", 3456},
    {DataFile::Mit, "MIT.DAT", 4032},
    {DataFile::Versatz, "VERSATZ.DAT", 13824},
    {DataFile::Gsp, "GSP.DAT", 126},
    {DataFile::Melder, "MELDER.DAT", 144},
    {DataFile::Super, "SUPER.DAT", 960},
    {DataFile::Pw, "PW.DAT", 384},
    {DataFile::GrMin, "GRMINTAB.DAT", 576},
    {DataFile::Konf, "KONF.DAT", 8},
    {DataFile::Namen, "NAMEN.DAT", 240},
}};

constexpr const DataFileInfo &dataFileInfo(DataFile file)
{
    return kDataFiles[static_cast<std::size_t>(file)];
}

constexpr bool dataFilesIndexedByEnum()
{
    for (std::size_t i = 0; i < kDataFiles.size(); ++i)
        if (static_cast<std::size_t>(kDataFiles[i].file) != i)
            return false;
    return true;
}
static_assert(dataFilesIndexedByEnum(), "kDataFiles must list the files in enum order");
