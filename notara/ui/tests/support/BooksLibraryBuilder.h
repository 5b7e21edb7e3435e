#pragma once

#include <QString>
#include <string>
#include <vector>

namespace notara::test {

struct FixtureBook {
    std::string assetID;
    std::string title;
    std::string author;
};

struct FixtureAnnotation {
    std::string assetID;
    std::string selectedText;
    std::string note;
    std::string chapter{}; // ZFUTUREPROOFING5; NULL when empty
};

// Writes a Books data folder as the Books app lays it out: <folder>/Documents/BKLibrary/ and
// <folder>/Documents/AEAnnotation/, each with one real SQLite database holding the Books tables.
class BooksLibraryBuilder {
public:
    explicit BooksLibraryBuilder(QString folder);

    void writeLibrary(const std::vector<FixtureBook>& books) const;
    void writeAnnotations(const std::vector<FixtureAnnotation>& annotations) const;

    QString libraryFile() const;
    QString annotationFile() const;
    const QString& folder() const { return _folder; }

private:
    QString _folder;
};

} // namespace notara::test
