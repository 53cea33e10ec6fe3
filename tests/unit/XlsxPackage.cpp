#include "XlsxPackage.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <zip.h>

#include <memory>

namespace kelvor::test {

namespace {

std::string readEntry(zip_t* archive, zip_uint64_t index, zip_uint64_t size, zip_flags_t flags) {
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(archive, index, flags),
                                                            &zip_fclose);
    if (!file) {
        ADD_FAILURE() << "cannot open entry " << index;
        return {};
    }
    std::string data(size, '\0');
    const auto got = zip_fread(file.get(), data.data(), size);
    EXPECT_EQ(got, static_cast<zip_int64_t>(size)) << "entry " << index;
    char extra;
    // Reading past the end is where libzip checks the CRC.
    EXPECT_EQ(zip_fread(file.get(), &extra, 1), 0) << "entry " << index;
    return data;
}

} // namespace

std::map<std::string, PackageEntry> readPackage(const std::filesystem::path& path) {
    int error = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
        zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error), &zip_discard);
    if (!archive) {
        ADD_FAILURE() << "libzip cannot open " << path << ", error " << error;
        return {};
    }
    std::map<std::string, PackageEntry> entries;
    const auto count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), index, 0, &stat) != 0) {
            ADD_FAILURE() << "cannot stat entry " << i;
            continue;
        }
        EXPECT_EQ(stat.comp_method, ZIP_CM_DEFLATE) << stat.name;
        EXPECT_EQ(entries.count(stat.name), 0u) << "duplicate entry " << stat.name;
        entries[stat.name] = {readEntry(archive.get(), index, stat.size, 0),
                              readEntry(archive.get(), index, stat.comp_size, ZIP_FL_COMPRESSED)};
    }
    return entries;
}

std::string xmlError(const std::string& xml) {
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    while (!reader.atEnd()) {
        reader.readNext();
    }
    return reader.hasError() ? reader.errorString().toStdString() : std::string();
}

} // namespace kelvor::test
