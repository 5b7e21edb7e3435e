#include "notara/ui/tests/support/BooksLibraryBuilder.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <sqlite3.h>
#include <stdexcept>

namespace notara::test {

namespace {

// The columns the loader reads plus enough of the real neighbours that positions matter.
constexpr const char* kLibrarySchema =
    "CREATE TABLE ZBKLIBRARYASSET (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, "
    "ZCONTENTTYPE INTEGER, ZISFINISHED INTEGER, ZISHIDDEN INTEGER, ZFILESIZE INTEGER, "
    "ZCREATIONDATE TIMESTAMP, ZLASTOPENDATE TIMESTAMP, ZASSETID VARCHAR, ZAUTHOR VARCHAR, "
    "ZDOWNLOADEDDSID VARCHAR, ZGENRE VARCHAR, ZPATH VARCHAR, ZSORTAUTHOR VARCHAR, ZSORTTITLE VARCHAR, "
    "ZTITLE VARCHAR, ZCOVERURL VARCHAR)";
constexpr const char* kAnnotationSchema =
    "CREATE TABLE ZAEANNOTATION (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, "
    "ZANNOTATIONDELETED INTEGER, ZANNOTATIONISUNDERLINE INTEGER, ZANNOTATIONSTYLE INTEGER, "
    "ZANNOTATIONTYPE INTEGER, ZANNOTATIONCREATIONDATE TIMESTAMP, ZANNOTATIONMODIFICATIONDATE TIMESTAMP, "
    "ZANNOTATIONASSETID VARCHAR, ZANNOTATIONCREATORIDENTIFIER VARCHAR, ZANNOTATIONLOCATION VARCHAR, "
    "ZANNOTATIONNOTE VARCHAR, ZANNOTATIONREPRESENTATIVETEXT VARCHAR, ZANNOTATIONSELECTEDTEXT VARCHAR, "
    "ZANNOTATIONUUID VARCHAR, ZFUTUREPROOFING5 VARCHAR)";

class Database {
public:
    explicit Database(const QString& path) {
        QFile::remove(path);
        if (sqlite3_open(QFile::encodeName(path).constData(), &_db) != SQLITE_OK)
            throw std::runtime_error("cannot create " + path.toStdString());
    }
    ~Database() { sqlite3_close(_db); }
    void execute(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(_db));
        return statement;
    }

private:
    sqlite3* _db = nullptr;
};

void bindText(sqlite3_stmt* statement, int position, const std::string& text) {
    sqlite3_bind_text(statement, position, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

} // namespace

BooksLibraryBuilder::BooksLibraryBuilder(QString folder) : _folder(std::move(folder)) {}

QString BooksLibraryBuilder::libraryFile() const {
    return _folder + QStringLiteral("/Documents/BKLibrary/BKLibrary-1-091020131601.sqlite");
}

QString BooksLibraryBuilder::annotationFile() const {
    return _folder + QStringLiteral("/Documents/AEAnnotation/AEAnnotation_v10312011_1727_local.sqlite");
}

void BooksLibraryBuilder::writeLibrary(const std::vector<FixtureBook>& books) const {
    QDir().mkpath(QFileInfo(libraryFile()).path());
    Database db(libraryFile());
    db.execute(kLibrarySchema);
    db.execute("BEGIN");
    sqlite3_stmt* insert =
        db.prepare("INSERT INTO ZBKLIBRARYASSET (Z_ENT, Z_OPT, ZCONTENTTYPE, ZASSETID, ZAUTHOR, ZSORTAUTHOR, "
                   "ZSORTTITLE, ZTITLE, ZPATH) VALUES (5, 1, 1, ?1, ?2, ?2, ?3, ?3, ?4)");
    for (const FixtureBook& book : books) {
        bindText(insert, 1, book.assetID);
        bindText(insert, 2, book.author);
        bindText(insert, 3, book.title);
        bindText(insert, 4, "/Books/" + book.assetID + ".epub");
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    db.execute("COMMIT");
}

void BooksLibraryBuilder::writeAnnotations(const std::vector<FixtureAnnotation>& annotations) const {
    QDir().mkpath(QFileInfo(annotationFile()).path());
    Database db(annotationFile());
    db.execute(kAnnotationSchema);
    db.execute("BEGIN");
    sqlite3_stmt* insert = db.prepare(
        "INSERT INTO ZAEANNOTATION (Z_ENT, Z_OPT, ZANNOTATIONDELETED, ZANNOTATIONTYPE, ZANNOTATIONSTYLE, "
        "ZANNOTATIONASSETID, ZANNOTATIONLOCATION, ZANNOTATIONNOTE, ZANNOTATIONSELECTEDTEXT, ZANNOTATIONUUID, "
        "ZFUTUREPROOFING5) VALUES (1, 2, 0, 2, 3, ?1, ?2, ?3, ?4, ?5, ?6)");
    int counter = 0;
    for (const FixtureAnnotation& annotation : annotations) {
        bindText(insert, 1, annotation.assetID);
        bindText(insert, 2, "epubcfi(/6/24[chapter]!/4/2/" + std::to_string(++counter) + ",/1:0,/1:10)");
        if (annotation.note.empty())
            sqlite3_bind_null(insert, 3);
        else
            bindText(insert, 3, annotation.note);
        bindText(insert, 4, annotation.selectedText);
        bindText(insert, 5, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString());
        if (annotation.chapter.empty())
            sqlite3_bind_null(insert, 6);
        else
            bindText(insert, 6, annotation.chapter);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    db.execute("COMMIT");
}

} // namespace notara::test
