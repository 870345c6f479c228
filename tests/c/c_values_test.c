/* Every value family of the C binding from plain C: one table per family, errors per
 * thread, and no handle left open. Each group runs in its own process. */
#include <pthread.h>
#include <stdlib.h>
#include <string.h>

#include "CheckC.h"

static mox_handle made[64];
static size_t made_count = 0;

/* Checks that a making call succeeded and remembers its handle for close_all. */
#define MAKE(call, h) (CHECK_INT((call), MOX_OK), made[made_count++] = (h))

/* Closes every handle made, then checks that none is open. */
static void close_all(void)
{
    unsigned open = 1;
    while (made_count > 0)
        CHECK_INT(mox_close_handle(made[--made_count]), MOX_OK);
    CHECK_INT(mox_open_handle_count(&open), MOX_OK);
    CHECK_INT(open, 0);
}

typedef struct {
    const mox_handle* subject;
    read_fn read;
    const char* expected;
} text_row;

/* Reads each row's text and compares it. */
static void check_texts(const text_row* rows, size_t count)
{
    size_t i;
    for (i = 0; i < count; ++i) {
        char* text = NULL;
        CHECK_INT(rows[i].read(*rows[i].subject, &text), MOX_OK);
        if (text == NULL || strcmp(text, rows[i].expected) != 0)
            fprintf(stderr, "row %u: \"%s\", expected \"%s\"\n", (unsigned)i, text ? text : "(null)", rows[i].expected);
        CHECK(text != NULL && strcmp(text, rows[i].expected) == 0);
        mox_free(text);
    }
}
#define CHECK_TEXTS(rows) check_texts((rows), sizeof(rows) / sizeof((rows)[0]))

static void group_identities(void)
{
    mox_handle qel = 0, email = 0, authority = 0, account = 0, built = 0, set = 0, again = 0, first = 0;
    int equal = -1, found = -1;
    size_t count = 0;
    char* doc = NULL;
    const text_row rows[] = {
        {&qel, mox_identity_format, "QEL"},          {&qel, mox_identity_value, "NT:CORP/Group:admins"},
        {&qel, mox_identity_type, "Group"},          {&qel, mox_identity_name, "admins"},
        {&qel, mox_identity_authority_name, "CORP"}, {&qel, mox_identity_authority_format, "NT"},
        {&email, mox_identity_value, "admins@CORP"}, {&email, mox_identity_authority_format, "UNKNOWN"},
        {&built, mox_identity_value, "NT:CORP/Group:admins"}, {&account, mox_account_type, "Group"},
        {&account, mox_account_name, "admins"},      {&authority, mox_authority_format, "NT"},
        {&authority, mox_authority_name, "CORP"},    {&first, mox_identity_value, "NT:CORP/Group:admins"},
        {&set, mox_handle_class, "MOX::IdentitySet"}, {&email, mox_handle_class, "MOX::AUTHN::IIdentity"},
    };
    MAKE(mox_identity_parse("NT:CORP/Group:admins", &qel), qel);
    MAKE(mox_identity_convert(qel, "EMAIL", &email), email);
    MAKE(mox_authority_create("NT", "\\\\CORP", &authority), authority);
    MAKE(mox_account_parse("Group:admins", &account), account);
    MAKE(mox_identity_create(authority, account, &built), built);
    MAKE(mox_identities_create(&set), set);
    CHECK_INT(mox_identities_add(set, qel), MOX_OK);
    CHECK_INT(mox_identities_add(set, email), MOX_OK); /* the same principal: kept once */
    CHECK_INT(mox_identities_marshal(set, &doc), MOX_OK);
    MAKE(mox_identities_parse(doc, &again), again);
    mox_free(doc);
    CHECK_INT(mox_identities_count(again, &count), MOX_OK);
    CHECK_INT(count, 1);
    MAKE(mox_identities_get(again, 0, &first), first);
    CHECK_TEXTS(rows);
    CHECK_INT(mox_identity_equal(qel, email, &equal), MOX_OK);
    CHECK_INT(equal, 1);
    CHECK_INT(mox_identities_contains(again, built, &found), MOX_OK);
    CHECK_INT(found, 1);
    CHECK_FAILURE(mox_identities_get(again, 1, &first), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);
    CHECK_FAILURE(mox_identity_convert(email, "QEL", &first), MOX_E_INVALID_INPUT, "InvalidArgumentException", "");
    CHECK_FAILURE(mox_identities_add(set, account), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    close_all();
}

static void group_attributes(void)
{
    mox_handle qname = 0, parsed = 0, pattern = 0, attr = 0, list = 0, again = 0, found = 7, got = 0;
    int matches = -1;
    size_t count = 0;
    char* doc = NULL;
    const text_row rows[] = {
        {&qname, mox_to_string, "<attribute-id name=\"size\" format=\"Integer\" scope=\"shop\"/>"},
        {&parsed, mox_qualified_name_name, "size"},  {&parsed, mox_qualified_name_format, "Integer"},
        {&parsed, mox_qualified_name_scope, "shop"}, {&attr, mox_attribute_name, "color"},
        {&attr, mox_attribute_format, "String"},     {&attr, mox_attribute_scope, ""},
        {&got, mox_attribute_name, "color"},         {&found, mox_attribute_format, "String"},
        {&got, mox_handle_class, "MOX::ATTR::IAttribute"}, {&qname, mox_handle_class, "MOX::ATTR::IQualifiedName"},
    };
    char* value = NULL;
    MAKE(mox_qualified_name_create("size", "Integer", "shop", &qname), qname);
    MAKE(mox_qualified_name_parse("<attribute-id name=\"size\" format=\"Integer\" scope=\"shop\"/>", &parsed), parsed);
    MAKE(mox_qualified_name_create("s*", "*", "?hop", &pattern), pattern);
    CHECK_INT(mox_qualified_name_matches(parsed, pattern, &matches), MOX_OK);
    CHECK_INT(matches, 1);
    MAKE(mox_attribute_create("color", "", "", &attr), attr);
    CHECK_INT(mox_attribute_add_value(attr, "red"), MOX_OK);
    CHECK_INT(mox_attribute_add_value(attr, "bl<ue"), MOX_OK);
    MAKE(mox_attributes_create(&list), list);
    CHECK_INT(mox_attributes_add(list, attr), MOX_OK);
    CHECK_INT(mox_attributes_marshal(list, &doc), MOX_OK);
    MAKE(mox_attributes_parse(doc, &again), again);
    mox_free(doc);
    CHECK_INT(mox_attributes_find(again, "absent", &found), MOX_OK);
    CHECK_INT(found, 0);
    MAKE(mox_attributes_find(again, "color", &found), found);
    MAKE(mox_attributes_get(again, 0, &got), got);
    CHECK_INT(mox_attribute_value_count(found, &count), MOX_OK);
    CHECK_INT(count, 2);
    CHECK_INT(mox_attribute_value(found, 1, &value), MOX_OK);
    CHECK_STR(value, "bl<ue");
    mox_free(value);
    CHECK_TEXTS(rows);
    CHECK_FAILURE(mox_attribute_value(found, 2, &value), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);
    CHECK_FAILURE(mox_attributes_add(list, qname), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute name=\"\"/></attributes>", &got),
                  MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);
    close_all();
}

static void group_values(void)
{
    mox_handle integer = 0, real = 0, text = 0, props = 0, parsed = 0, cls = 0, iface = 0, loader = 0, lparsed = 0;
    long long number = 0;
    double fraction = 0;
    int version = 0;
    char *doc = NULL, *value = (char*)&value;
    const text_row rows[] = {
        {&integer, mox_variant_type, "Integer"}, {&integer, mox_variant_tag, "t"},
        {&text, mox_variant_value, "x y"},       {&real, mox_variant_type, "Double"},
        {&cls, mox_class_id_marshal, "<class-id class=\"Foo\" version=\"3\"/>"},
        {&cls, mox_to_string, "Foo v=3"},        {&cls, mox_class_id_loader, ""},
        {&iface, mox_interface_id_name, "IPrint"},
        {&iface, mox_interface_id_marshal, "<interface-id class=\"IPrint\" version=\"4\"/>"},
        {&lparsed, mox_loader_id_name, "Boot"},  {&lparsed, mox_loader_id_file, "boot.so"},
        {&props, mox_handle_class, "MOX::RT::IProperties"}, {&loader, mox_handle_class, "MOX::LoaderId"},
    };
    MAKE(mox_variant_create("Integer", "7", "t", &integer), integer);
    MAKE(mox_variant_create_double(0.5, "", &real), real);
    MAKE(mox_variant_create_string("x y", "", &text), text);
    CHECK_INT(mox_variant_as_int64(integer, &number), MOX_OK);
    CHECK_INT(number, 7);
    CHECK_INT(mox_variant_as_double(real, &fraction), MOX_OK);
    CHECK(fraction == 0.5);
    CHECK_FAILURE(mox_variant_as_int64(text, &number), MOX_E_NOT_AN_INTEGER, "InvalidArgumentException", "");

    MAKE(mox_properties_create(&props), props);
    CHECK_INT(mox_properties_set(props, "color", "red"), MOX_OK);
    CHECK_INT(mox_properties_marshal(props, "settings", &doc), MOX_OK);
    MAKE(mox_properties_parse(doc, "settings", &parsed), parsed);
    mox_free(doc);
    CHECK_INT(mox_properties_get(parsed, "absent", &value), MOX_OK);
    CHECK(value == NULL);
    CHECK_INT(mox_properties_get(parsed, "color", &value), MOX_OK);
    CHECK_STR(value, "red");
    mox_free(value);
    CHECK_INT(mox_properties_name(parsed, 0, &value), MOX_OK);
    CHECK_STR(value, "color");
    mox_free(value);

    MAKE(mox_class_id_create("Foo", 3, &cls), cls);
    MAKE(mox_interface_id_parse("IPrint::4", &iface), iface);
    CHECK_INT(mox_interface_id_version(iface, &version), MOX_OK);
    CHECK_INT(version, 4);
    MAKE(mox_loader_id_create("Boot", "boot.so", &loader), loader);
    CHECK_INT(mox_loader_id_marshal(loader, &doc), MOX_OK);
    MAKE(mox_loader_id_parse(doc, &lparsed), lparsed);
    mox_free(doc);
    CHECK_TEXTS(rows);
    close_all();
}

/* Date-times at every resolution, and the one order over every family. */
static void group_time_and_order(void)
{
    mox_handle created = 0, parsed = 0, later = 0, a = 0, b = 0;
    long long micros = 0;
    int order = 9;
    char* text = NULL;
    const text_row rows[] = {
        {&created, mox_to_string, "1970-01-01T00:00:01.500000Z"},
        {&parsed, mox_to_string, "2026-12-04T05:38:45.123Z"}, {&later, mox_handle_class, "MOX::TIME::IDateTime"},
    };
    static const struct {
        int resolution;
        const char* text;
    } formats[] = {{-1, "2026-12-04T05:38:45.123Z"}, {0, "2026-12-04T05:38:45Z"},
                   {1, "2026-12-04T05:38:45.123Z"},  {2, "2026-12-04T05:38:45.123000Z"}};
    size_t i;
    MAKE(mox_datetime_create(1500000, &created), created);
    MAKE(mox_datetime_parse("2026-12-04T05:38:45.123Z", &parsed), parsed);
    MAKE(mox_datetime_now(&later), later);
    CHECK_TEXTS(rows);
    for (i = 0; i < sizeof formats / sizeof formats[0]; ++i) {
        CHECK_INT(mox_datetime_format(parsed, formats[i].resolution, &text), MOX_OK);
        CHECK_STR(text, formats[i].text);
        mox_free(text);
    }
    CHECK_INT(mox_datetime_micros(parsed, &micros), MOX_OK);
    CHECK_INT(micros % 1000000, 123000);
    CHECK_FAILURE(mox_datetime_format(parsed, 3, &text), MOX_E_INVALID_ARGUMENTS, "InvalidArgumentException", MSG_ARGS);
    CHECK_FAILURE(mox_datetime_parse("2026-12-04T05:38:45+01", &a), MOX_E_INVALID_INPUT, "InvalidArgumentException", "");

    CHECK_INT(mox_compare(created, parsed, &order), MOX_OK);
    CHECK_INT(order, -1);
    CHECK_INT(mox_compare(parsed, parsed, &order), MOX_OK);
    CHECK_INT(order, 0);
    MAKE(mox_class_id_create("Foo", 3, &a), a);
    MAKE(mox_class_id_parse("Foo v=2", &b), b);
    CHECK_INT(mox_compare(a, b, &order), MOX_OK);
    CHECK_INT(order, 1);
    CHECK_FAILURE(mox_compare(a, parsed, &order), MOX_E_CLASS_CAST, "ClassCastException", MSG_CAST);
    close_all();
}

/* Each thread fails in its own way and reads back only its own record. */
static void* fail_in_thread(void* arg)
{
    const int kind = *(const int*)arg;
    mox_handle out = 0;
    int round;
    for (round = 0; round < 200; ++round) {
        const int rc = kind == 0 ? mox_identity_parse(NULL, &out)
                       : kind == 1 ? mox_to_string(99999, NULL)
                                   : mox_close_handle(99999);
        const mox_error* e = mox_error_last();
        const int expected = kind == 2 ? MOX_E_INVALID_HANDLE : MOX_E_NULL_POINTER;
        CHECK(rc == expected && e->code == expected);
        CHECK_STR(e->function, kind == 0 ? "mox_identity_parse" : kind == 1 ? "mox_to_string" : "mox_close_handle");
    }
    return NULL;
}

static void group_errors(void)
{
    static const int kinds[] = {0, 1, 2};
    pthread_t threads[3];
    const mox_error* e = mox_error_last();
    mox_handle none = 0;
    size_t i;
    CHECK_STR(mox_version(), MOX_VERSION_STRING);
    CHECK_STR(MOX_VERSION_STRING, "2.1.0.0");
    CHECK(e != NULL && e->code == 0 && strcmp(e->name, "No Error") == 0 && strcmp(e->message, "") == 0);
    CHECK_INT(mox_account_create("User", "", &none), MOX_E_INVALID_ARGUMENTS);
    e = mox_error_last();
    CHECK(e->code == MOX_E_INVALID_ARGUMENTS && strcmp(e->name, "InvalidArgumentException") == 0);
    CHECK_INT(mox_attributes_parse("<attributes><attribute", &none), MOX_E_UNMARSHAL);
    e = mox_error_last();
    CHECK(strcmp(e->name, "SerializationException") == 0 && e->detail[0] != '\0');
    mox_error_clear();
    CHECK_INT(mox_error_last()->code, 0);
    for (i = 0; i < 3; ++i)
        CHECK_INT(pthread_create(&threads[i], NULL, fail_in_thread, (void*)&kinds[i]), 0);
    for (i = 0; i < 3; ++i)
        pthread_join(threads[i], NULL);
    CHECK_INT(mox_error_last()->code, 0);
    close_all();
}

int main(int argc, char** argv)
{
    static const check_group groups[] = {{"identities", group_identities},
                                         {"attributes", group_attributes},
                                         {"values", group_values},
                                         {"time_and_order", group_time_and_order},
                                         {"errors", group_errors}};
    return run_group(groups, sizeof groups / sizeof groups[0], argc, argv);
}
