#include "html/parser/Tag.h"
#include "html/nodes/Attributes.h"
#include "html/nodes/Exception.h"
#include "html/parser/ParseSettings.h"
#include "html/parser/TreeBuilderSets.h"

#include <gtest/gtest.h>

using namespace html;

TEST(Tag, KnownNamesShareOneRegisteredTag) {
    TagRef div = Tag::valueOf("DIV", ParseSettings::htmlDefault());
    EXPECT_EQ(div.get(), Tag::valueOf("div").get());
    EXPECT_TRUE(div->isBlock());
    EXPECT_TRUE(div->formatAsBlock());

    TagRef p = Tag::valueOf("P", ParseSettings::htmlDefault());
    EXPECT_EQ(p->getName(), "p");
    EXPECT_TRUE(p->isBlock());
    EXPECT_FALSE(p->formatAsBlock());
}

TEST(Tag, ModifierListsSetTheirFlags) {
    TagRef br = Tag::valueOf("br");
    EXPECT_TRUE(br->isEmpty());
    EXPECT_TRUE(br->isInline());
    EXPECT_TRUE(br->isSelfClosing());

    TagRef textarea = Tag::valueOf("textarea");
    EXPECT_TRUE(textarea->isInline());
    EXPECT_TRUE(textarea->preserveWhitespace());
    EXPECT_TRUE(textarea->isFormListed());
    EXPECT_TRUE(textarea->isFormSubmittable());

    TagRef title = Tag::valueOf("title");
    EXPECT_TRUE(title->isBlock());
    EXPECT_FALSE(title->formatAsBlock());
    EXPECT_TRUE(title->preserveWhitespace());

    for (const char* name : {"script", "style"}) {
        TagRef t = Tag::valueOf(name);
        EXPECT_TRUE(t->isBlock()) << name;
        EXPECT_FALSE(t->formatAsBlock()) << name;
        EXPECT_FALSE(t->isData()) << name;
    }
    // Listed twice among the inline names: still one inline, empty tag.
    TagRef area = Tag::valueOf("area");
    EXPECT_TRUE(area->isInline());
    EXPECT_TRUE(area->isEmpty());
    EXPECT_FALSE(Tag::valueOf("fieldset")->isFormSubmittable());
    EXPECT_TRUE(Tag::valueOf("fieldset")->isFormListed());
}

TEST(Tag, UnknownNamesGetFreshInlineTags) {
    TagRef a = Tag::valueOf("custom-widget");
    TagRef b = Tag::valueOf("custom-widget");
    EXPECT_NE(a.get(), b.get());
    EXPECT_TRUE(*a == *b);
    EXPECT_EQ(a->hash(), b->hash());
    EXPECT_TRUE(a->isInline());
    EXPECT_TRUE(a->canContainBlock());
    EXPECT_FALSE(a->isKnownTag());
    EXPECT_FALSE(Tag::isKnownTag("custom-widget"));
    EXPECT_TRUE(Tag::isKnownTag("div"));

    // Without settings the case is kept; only whitespace is trimmed.
    EXPECT_EQ(Tag::valueOf("  Foo ")->getName(), "Foo");
    EXPECT_EQ(Tag::valueOf("  Foo ")->getNameNormal(), "foo");
    EXPECT_EQ(Tag::valueOf("Foo", ParseSettings::htmlDefault())->getName(), "foo");
}

TEST(Tag, EmptyNameFails) {
    try {
        Tag::valueOf("   ");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.type(), ExceptionType::IllegalArgumentException);
        EXPECT_STREQ(e.what(), "String must not be empty");
    }
}

TEST(ParseSettings, NormaliseNamesUnlessCaseIsPreserved) {
    EXPECT_EQ(ParseSettings::htmlDefault().normalizeTag(" DiV\t"), "div");
    EXPECT_EQ(ParseSettings::preserveCase().normalizeTag(" DiV\t"), "DiV");
    // Only ASCII letters fold; other bytes are untouched.
    EXPECT_EQ(ParseSettings::htmlDefault().normalizeAttribute("\xC3\x89X"), "\xC3\x89x");

    Attributes attrs;
    attrs.put("ID", "a").put("Class", "b").put("id", "dup");
    ParseSettings::preserveCase().normalizeAttributes(attrs);
    EXPECT_EQ(attrs[0].getKey(), "ID");
    ParseSettings::htmlDefault().normalizeAttributes(attrs);
    ASSERT_EQ(attrs.size(), 2u); // the later "id" would have duplicated the first key
    EXPECT_EQ(attrs.get("id"), "a");
    EXPECT_EQ(attrs.get("class"), "b");
}

// The ids, the registry and the tree builder's sets all come from one element table: a row must
// reach each of them under its own name.
TEST(Tag, ElementTableFeedsIdsRegistryAndSpecialSet) {
    for (unsigned n = 1; n < static_cast<unsigned>(TagId::Count_); ++n) {
        const auto id = static_cast<TagId>(n);
        const std::string_view name = tagIdName(id);
        EXPECT_EQ(tagIdOf(name), id) << name;
        if (const Tag* tag = Tag::lookup(id)) {
            EXPECT_EQ(tag->getName(), name);
            EXPECT_EQ(Tag::lookup(name), tag);
        }
    }
    EXPECT_EQ(tagIdOf("DIV"), TagId::Other);
    EXPECT_EQ(tagIdOf("custom-widget"), TagId::Other);
    EXPECT_EQ(Tag::lookup(TagId::Other), nullptr);
    // Names only the tree builder's rules mention stay unknown tags.
    EXPECT_EQ(Tag::lookup(TagId::Xmp), nullptr);
    EXPECT_FALSE(Tag::valueOf("marquee")->isKnownTag());
    // Span is registered but has no rule of its own; Xmp is special but not registered.
    EXPECT_TRUE(sets::special.contains(TagId::Xmp));
    EXPECT_TRUE(sets::special.contains(TagId::Wbr));
    EXPECT_FALSE(sets::special.contains(TagId::Span));
    EXPECT_FALSE(sets::special.contains(TagId::Other));
}
