#pragma once

// Builds Apple Books databases for tests and benchmarks: the real table layouts (every
// column, in Core Data's order), WAL journal mode, Core Data side tables and indexes.

#include "notara/tests/SqlExec.h"

#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace notara::test {

inline constexpr const char* annotationTableSQL = "CREATE TABLE ZAEANNOTATION ("
                                                  "Z_PK INTEGER PRIMARY KEY,"
                                                  "Z_ENT INTEGER,"
                                                  "Z_OPT INTEGER,"
                                                  "ZANNOTATIONDELETED INTEGER,"
                                                  "ZANNOTATIONISUNDERLINE INTEGER,"
                                                  "ZANNOTATIONSTYLE INTEGER,"
                                                  "ZANNOTATIONTYPE INTEGER,"
                                                  "ZPLABSOLUTEPHYSICALLOCATION INTEGER,"
                                                  "ZPLLOCATIONRANGEEND INTEGER,"
                                                  "ZPLLOCATIONRANGESTART INTEGER,"
                                                  "ZANNOTATIONCREATIONDATE TIMESTAMP,"
                                                  "ZANNOTATIONMODIFICATIONDATE TIMESTAMP,"
                                                  "ZANNOTATIONASSETID VARCHAR,"
                                                  "ZANNOTATIONCREATORIDENTIFIER VARCHAR,"
                                                  "ZANNOTATIONLOCATION VARCHAR,"
                                                  "ZANNOTATIONNOTE VARCHAR,"
                                                  "ZANNOTATIONREPRESENTATIVETEXT VARCHAR,"
                                                  "ZANNOTATIONSELECTEDTEXT VARCHAR,"
                                                  "ZANNOTATIONUUID VARCHAR,"
                                                  "ZFUTUREPROOFING1 VARCHAR,"
                                                  "ZFUTUREPROOFING10 VARCHAR,"
                                                  "ZFUTUREPROOFING11 VARCHAR,"
                                                  "ZFUTUREPROOFING12 VARCHAR,"
                                                  "ZFUTUREPROOFING2 VARCHAR,"
                                                  "ZFUTUREPROOFING3 VARCHAR,"
                                                  "ZFUTUREPROOFING4 VARCHAR,"
                                                  "ZFUTUREPROOFING5 VARCHAR,"
                                                  "ZFUTUREPROOFING6 VARCHAR,"
                                                  "ZFUTUREPROOFING7 VARCHAR,"
                                                  "ZFUTUREPROOFING8 VARCHAR,"
                                                  "ZFUTUREPROOFING9 VARCHAR,"
                                                  "ZPLSTORAGEUUID VARCHAR,"
                                                  "ZPLUSERDATA BLOB"
                                                  ")";

inline constexpr const char* libraryTableSQL = "CREATE TABLE ZBKLIBRARYASSET ("
                                               "Z_PK INTEGER PRIMARY KEY,"
                                               "Z_ENT INTEGER,"
                                               "Z_OPT INTEGER,"
                                               "ZAUTHORCOUNT INTEGER,"
                                               "ZCANREDOWNLOAD INTEGER,"
                                               "ZCOMBINEDSTATE INTEGER,"
                                               "ZCOMPUTEDRATING INTEGER,"
                                               "ZCONTENTTYPE INTEGER,"
                                               "ZDESKTOPSUPPORTLEVEL INTEGER,"
                                               "ZDIDRUNFORYOUENDOFBOOKEXPERIENCE INTEGER,"
                                               "ZDIDWARNABOUTDESKTOPSUPPORT INTEGER,"
                                               "ZFILESIZE INTEGER,"
                                               "ZFINISHEDDATEKIND INTEGER,"
                                               "ZGENERATION INTEGER,"
                                               "ZHASRACSUPPORT INTEGER,"
                                               "ZHASTOOMANYAUTHORS INTEGER,"
                                               "ZHASTOOMANYNARRATORS INTEGER,"
                                               "ZISDEVELOPMENT INTEGER,"
                                               "ZISDOWNLOADINGSUPPLEMENTALCONTENT INTEGER,"
                                               "ZISEPHEMERAL INTEGER,"
                                               "ZISEXPLICIT INTEGER,"
                                               "ZISFINISHED INTEGER,"
                                               "ZISHIDDEN INTEGER,"
                                               "ZISLOCKED INTEGER,"
                                               "ZISNEW INTEGER,"
                                               "ZISPROOF INTEGER,"
                                               "ZISSAMPLE INTEGER,"
                                               "ZISSTOREAUDIOBOOK INTEGER,"
                                               "ZISSUPPLEMENTALCONTENT INTEGER,"
                                               "ZISTRACKEDASRECENT INTEGER,"
                                               "ZMAPPEDASSETCONTENTTYPE INTEGER,"
                                               "ZMETADATAMIGRATIONVERSION INTEGER,"
                                               "ZNARRATORCOUNT INTEGER,"
                                               "ZNOTFINISHED INTEGER,"
                                               "ZPAGECOUNT INTEGER,"
                                               "ZRATING INTEGER,"
                                               "ZSERIESFILTERMODE INTEGER,"
                                               "ZSERIESISCLOUDONLY INTEGER,"
                                               "ZSERIESISHIDDEN INTEGER,"
                                               "ZSERIESISORDERED INTEGER,"
                                               "ZSERIESNEXTFLAG INTEGER,"
                                               "ZSERIESSORTKEY INTEGER,"
                                               "ZSERIESSORTMODE INTEGER,"
                                               "ZSORTKEY INTEGER,"
                                               "ZSTATE INTEGER,"
                                               "ZTASTE INTEGER,"
                                               "ZTASTESYNCEDTOSTORE INTEGER,"
                                               "ZLOCALONLYSERIESITEMSPARENT INTEGER,"
                                               "ZPURCHASEDANDLOCALPARENT INTEGER,"
                                               "ZSERIESCONTAINER INTEGER,"
                                               "ZSUPPLEMENTALCONTENTPARENT INTEGER,"
                                               "ZASSETDETAILSMODIFICATIONDATE TIMESTAMP,"
                                               "ZBOOKHIGHWATERMARKPROGRESS FLOAT,"
                                               "ZBOOKMARKSSERVERMAXMODIFICATIONDATE TIMESTAMP,"
                                               "ZCOVERASPECTRATIO FLOAT,"
                                               "ZCREATIONDATE TIMESTAMP,"
                                               "ZDATEFINISHED TIMESTAMP,"
                                               "ZDURATION FLOAT,"
                                               "ZEXPECTEDDATE TIMESTAMP,"
                                               "ZFILEONDISKLASTTOUCHDATE TIMESTAMP,"
                                               "ZLASTENGAGEDDATE TIMESTAMP,"
                                               "ZLASTOPENDATE TIMESTAMP,"
                                               "ZLOCATIONSERVERMAXMODIFICATIONDATE TIMESTAMP,"
                                               "ZMODIFICATIONDATE TIMESTAMP,"
                                               "ZPURCHASEDATE TIMESTAMP,"
                                               "ZREADINGPROGRESS FLOAT,"
                                               "ZRELEASEDATE TIMESTAMP,"
                                               "ZUPDATEDATE TIMESTAMP,"
                                               "ZVERSIONNUMBER FLOAT,"
                                               "ZSEQUENCENUMBER DECIMAL,"
                                               "ZACCOUNTID VARCHAR,"
                                               "ZASSETGUID VARCHAR,"
                                               "ZASSETID VARCHAR,"
                                               "ZAUTHOR VARCHAR,"
                                               "ZBOOKDESCRIPTION VARCHAR,"
                                               "ZBOOKMARKSSERVERVERSION VARCHAR,"
                                               "ZCOMMENTS VARCHAR,"
                                               "ZCOVERURL VARCHAR,"
                                               "ZCOVERWRITINGMODE VARCHAR,"
                                               "ZDATASOURCEIDENTIFIER VARCHAR,"
                                               "ZDOWNLOADEDDSID VARCHAR,"
                                               "ZEPUBID VARCHAR,"
                                               "ZFAMILYID VARCHAR,"
                                               "ZGENRE VARCHAR,"
                                               "ZGROUPING VARCHAR,"
                                               "ZKIND VARCHAR,"
                                               "ZLANGUAGE VARCHAR,"
                                               "ZLOCATIONSERVERVERSION VARCHAR,"
                                               "ZMAPPEDASSETID VARCHAR,"
                                               "ZPAGEPROGRESSIONDIRECTION VARCHAR,"
                                               "ZPATH VARCHAR,"
                                               "ZPERMLINK VARCHAR,"
                                               "ZPURCHASEDDSID VARCHAR,"
                                               "ZSEQUENCEDISPLAYNAME VARCHAR,"
                                               "ZSERIESID VARCHAR,"
                                               "ZSERIESSTACKIDS VARCHAR,"
                                               "ZSORTAUTHOR VARCHAR,"
                                               "ZSORTTITLE VARCHAR,"
                                               "ZSTOREID VARCHAR,"
                                               "ZSTOREPLAYLISTID VARCHAR,"
                                               "ZTEMPORARYASSETID VARCHAR,"
                                               "ZTITLE VARCHAR,"
                                               "ZVERSIONNUMBERHUMANREADABLE VARCHAR,"
                                               "ZYEAR VARCHAR,"
                                               "ZURL VARCHAR,"
                                               "ZAUTHORNAMES BLOB,"
                                               "ZGENRES BLOB,"
                                               "ZNARRATORNAMES BLOB"
                                               ")";

struct BookRow {
    std::string assetID;
    std::optional<std::string> title;
    std::optional<std::string> author;
    std::optional<std::string> downloadedDSID{};
};

struct AnnotationRow {
    std::string assetID;
    std::optional<std::string> selectedText;
    std::optional<std::string> note;
    std::optional<std::string> representativeText;
    std::string location = "epubcfi(/6/24[c_9780465008575_ps_Part09_Split3]!/4/2/296/2,/1:0,/7:257)";
    std::string uuid;
    int deleted = 0;
    int type = 2;
    std::optional<int> style = 3;
    int underline = 0;
    std::optional<std::string> chapter = "1 - The Function of Education";
    std::optional<double> created = 657569652.444135;
    std::optional<double> modified = 657569742.577813;
    std::optional<int> rangeStart = 11;
};

/// One Books store (library or annotations) opened read-write for building.
class BooksStore {
public:
    enum class Kind { Library, Annotations };

    BooksStore(const std::filesystem::path& file, Kind kind) {
        std::filesystem::create_directories(file.parent_path());
        if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot create " + file.native());
        exec("PRAGMA page_size=4096");
        exec("PRAGMA auto_vacuum=2");
        exec("PRAGMA journal_mode=WAL");
        if (kind == Kind::Annotations) {
            exec(annotationTableSQL);
            exec("CREATE TABLE ZBCCLOUDSYNCVERSIONS (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, "
                 "ZCLOUDVERSION INTEGER, ZHISTORYTOKENOFFSET INTEGER, ZLOCALVERSION INTEGER, ZSYNCVERSION "
                 "INTEGER, "
                 "ZDATATYPE VARCHAR, ZRAWHISTORYTOKEN BLOB)");
            exec("CREATE INDEX Z_AEAnnotation_annotationAssetID ON ZAEANNOTATION (ZANNOTATIONASSETID)");
            exec("CREATE INDEX Z_AEAnnotation_annotationUuid ON ZAEANNOTATION (ZANNOTATIONUUID)");
        } else {
            exec("CREATE TABLE ZBCCLOUDSYNCVERSIONS (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, "
                 "ZCLOUDVERSION INTEGER, ZHISTORYTOKENOFFSET INTEGER, ZLOCALVERSION INTEGER, ZSYNCVERSION "
                 "INTEGER, "
                 "ZDATATYPE VARCHAR, ZRAWHISTORYTOKEN BLOB)");
            exec("CREATE TABLE ZBKCOLLECTION (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, "
                 "ZCOLLECTIONID VARCHAR, ZTITLE VARCHAR)");
            exec(libraryTableSQL);
            exec("CREATE INDEX Z_BKLibraryAsset_byAssetIDIndex ON ZBKLIBRARYASSET (ZASSETID)");
        }
        exec("CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, Z_SUPER INTEGER, Z_MAX "
             "INTEGER)");
        exec("CREATE TABLE Z_METADATA (Z_VERSION INTEGER PRIMARY KEY, Z_UUID VARCHAR(255), Z_PLIST BLOB)");
        exec("CREATE TABLE Z_MODELCACHE (Z_CONTENT BLOB)");
    }

    BooksStore(const BooksStore&) = delete;
    BooksStore& operator=(const BooksStore&) = delete;
    ~BooksStore() { close(); }

    void exec(const std::string& sql) { sqlExec(db_, sql); }

    void addBook(const BookRow& book) {
        if (insert_ == nullptr) {
            prepare(
                "INSERT INTO ZBKLIBRARYASSET (Z_ENT, Z_OPT, ZCANREDOWNLOAD, ZCONTENTTYPE, ZFILESIZE, "
                "ZISHIDDEN, "
                "ZISSAMPLE, ZPAGECOUNT, ZRATING, ZSORTKEY, ZSTATE, ZBOOKHIGHWATERMARKPROGRESS, "
                "ZCREATIONDATE, "
                "ZLASTOPENDATE, ZMODIFICATIONDATE, ZPURCHASEDATE, ZREADINGPROGRESS, ZASSETGUID, ZASSETID, "
                "ZAUTHOR, ZBOOKDESCRIPTION, ZCOVERWRITINGMODE, ZDATASOURCEIDENTIFIER, ZDOWNLOADEDDSID, "
                "ZEPUBID, ZGENRE, ZLANGUAGE, ZPAGEPROGRESSIONDIRECTION, ZPATH, ZSORTAUTHOR, ZSORTTITLE, "
                "ZTITLE, "
                "ZYEAR) VALUES (5, 1, 1, 1, 2093412, 0, 0, 312, 0, 0, 3, 0.42, 657569742.577813, "
                "657569802.1, 657569802.1, 657569742.577813, 0.42, 'A3C0F4E2-9B2B-4C49-9D7A-5F4C1E2D3B4A', "
                "?1, ?2, 'A book about many things, told at some length.', 'default', "
                "'com.apple.ibooks.plugin.Bookshelf.platformDataSource.BookKit', ?4, '9780465008575', '', "
                "'en', 'default', '/Users/reader/Library/Containers/com.apple.BKAgentService/Data/Documents/"
                "iBooks/Books/' || ?1 || '.epub', ?2, ?3, ?3, '2021')");
        }
        bindText(1, book.assetID);
        bindOptional(2, book.author);
        bindOptional(3, book.title);
        bindOptional(4, book.downloadedDSID);
        step();
    }

    void addAnnotation(const AnnotationRow& annotation) {
        if (insert_ == nullptr) {
            prepare(
                "INSERT INTO ZAEANNOTATION (Z_ENT, Z_OPT, ZANNOTATIONDELETED, ZANNOTATIONISUNDERLINE, "
                "ZANNOTATIONSTYLE, ZANNOTATIONTYPE, ZPLABSOLUTEPHYSICALLOCATION, ZPLLOCATIONRANGEEND, "
                "ZPLLOCATIONRANGESTART, ZANNOTATIONCREATIONDATE, ZANNOTATIONMODIFICATIONDATE, "
                "ZANNOTATIONASSETID, ZANNOTATIONCREATORIDENTIFIER, ZANNOTATIONLOCATION, ZANNOTATIONNOTE, "
                "ZANNOTATIONREPRESENTATIVETEXT, ZANNOTATIONSELECTEDTEXT, ZANNOTATIONUUID, ZFUTUREPROOFING5, "
                "ZFUTUREPROOFING6, ZFUTUREPROOFING9, ZFUTUREPROOFING11) VALUES (1, 2, ?1, ?9, ?10, ?2, 0, 0, "
                "?11, ?12, ?13, ?3, 'com~apple~iBooks', ?4, ?5, ?6, ?7, ?8, "
                "?14, '657569742.577813', '1', '657569652.444135')");
        }
        sqlite3_bind_int(insert_, 1, annotation.deleted);
        sqlite3_bind_int(insert_, 2, annotation.type);
        bindText(3, annotation.assetID);
        bindText(4, annotation.location);
        bindOptional(5, annotation.note);
        bindOptional(6, annotation.representativeText);
        bindOptional(7, annotation.selectedText);
        bindText(8, annotation.uuid);
        sqlite3_bind_int(insert_, 9, annotation.underline);
        bindOptional(10, annotation.style);
        bindOptional(11, annotation.rangeStart);
        bindOptional(12, annotation.created);
        bindOptional(13, annotation.modified);
        bindOptional(14, annotation.chapter);
        step();
    }

    /// Folds the write-ahead log into the main file.
    void checkpoint() { exec("PRAGMA wal_checkpoint(TRUNCATE)"); }

    /// Closes like Books does while it runs: what was written since the last checkpoint
    /// stays only in the -wal file (with its -shm beside it).
    void closeKeepingLog() {
        if (db_ != nullptr) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        close();
    }

    void close() {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        if (db_ != nullptr) sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    void prepare(const char* sql) {
        if (sqlite3_prepare_v2(db_, sql, -1, &insert_, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    void bindText(int index, const std::string& text) {
        sqlite3_bind_text(insert_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bindOptional(int index, std::optional<int> value) {
        if (value)
            sqlite3_bind_int(insert_, index, *value);
        else
            sqlite3_bind_null(insert_, index);
    }
    void bindOptional(int index, std::optional<double> value) {
        if (value)
            sqlite3_bind_double(insert_, index, *value);
        else
            sqlite3_bind_null(insert_, index);
    }
    void bindOptional(int index, const std::optional<std::string>& text) {
        if (text)
            bindText(index, *text);
        else
            sqlite3_bind_null(insert_, index);
    }
    void step() {
        if (sqlite3_step(insert_) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_reset(insert_);
        sqlite3_clear_bindings(insert_);
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

/// The Books data folder layout: <root>/Documents/AEAnnotation/... and .../BKLibrary/...
struct BooksDataFolder {
    explicit BooksDataFolder(std::filesystem::path folder)
        : root(std::move(folder)),
          annotationFile(root / "Documents/AEAnnotation/AEAnnotation_v10312011_1727_local.sqlite"),
          libraryFile(root / "Documents/BKLibrary/BKLibrary-1-091020131601.sqlite") {}

    std::filesystem::path root;
    std::filesystem::path annotationFile;
    std::filesystem::path libraryFile;
};

} // namespace notara::test
