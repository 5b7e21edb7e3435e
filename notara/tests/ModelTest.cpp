#include "notara/core/Annotation.h"
#include "notara/core/Work.h"

#include <gtest/gtest.h>

using namespace notara;

TEST(Model, RowsFillOnlyTheirExactColumns) {
    const SQLRow libraryRow{{"ZASSETID", "1451477922"},
                            {"ZSORTTITLE", "Title"},
                            {"ZSORTAUTHOR", "Orlin, Ben"},
                            {"ZDOWNLOADEDDSID", "dsid"},
                            {"ZTITLE", "Display"},
                            {"ZAUTHOR", "Ben Orlin"},
                            {"Z_PK", "7"},
                            {"zassetid", "lower-case"}};
    const Work work(libraryRow);
    EXPECT_EQ(work.workID, "1451477922");
    EXPECT_EQ(work.workTitle, "Title");
    EXPECT_EQ(work.workAuthor, "Orlin, Ben");
    EXPECT_EQ(work.downloadedStatus, "dsid");
    EXPECT_TRUE(work.annotations.empty());

    const Annotation annotation(SQLRow{{"ZANNOTATIONUUID", "U"},
                                       {"ZANNOTATIONNOTE", "n"},
                                       {"ZANNOTATIONREPRESENTATIVETEXT", "r"},
                                       {"ZANNOTATIONSELECTEDTEXT", "s"},
                                       {"ZANNOTATIONLOCATION", "epubcfi(/6/2)"},
                                       {"ZANNOTATIONASSETID", "ignored"}});
    EXPECT_EQ(annotation.annotationID, "U");
    EXPECT_EQ(annotation.annotationUserNotes, "n");
    EXPECT_EQ(annotation.annotationRepText, "r");
    EXPECT_EQ(annotation.annotationSelectedText, "s");
    EXPECT_EQ(annotation.annotationLocationRawText, "epubcfi(/6/2)");
}

TEST(Model, EveryWorkHasItsOwnIdentity) {
    const SQLRow row{{"ZASSETID", "A"}, {"ZSORTTITLE", "T"}};
    const Work first(row);
    const Work second(row);
    const Work empty(SQLRow{});
    const Work kindle("Title", "Author");
    EXPECT_NE(first.id, second.id);
    EXPECT_FALSE(empty.id.isNull());
    EXPECT_NE(empty.id, first.id);
    EXPECT_EQ(empty.workTitle, "");
    EXPECT_EQ(kindle.workTitle, "Title");
    EXPECT_EQ(kindle.workAuthor, "Author");
    EXPECT_EQ(kindle.workID, "");
}
