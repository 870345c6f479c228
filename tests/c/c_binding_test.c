// SPDX-License-Identifier: MIT
/* The C binding used from plain C: one table per value family, errors per thread, bad
 * input of every shape, and no handle left open. Each group runs in its own process. */
#include <pthread.h>
#include <stdio.h>
#include <string.h>

#include <mox/mox_c.h>

static int check_failures = 0;

static void check_at(int ok, int line, const char* what)
{
    if (!ok) {
        fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, line, what);
        ++check_failures;
    }
}
#define CHECK(cond) check_at((cond) ? 1 : 0, __LINE__, #cond)
#define CHECK_INT(a, e) check_at((long long)(a) == (long long)(e), __LINE__, #a " == " #e)
#define CHECK_STR(a, e) check_at((a) != NULL && strcmp((a), (e)) == 0, __LINE__, #a " is " #e)
/* The failure `code` is both returned and recorded as this thread's last error (the code
 * table gives its class and message). */
#define CHECK_FAILURE(rc, code) check_at((rc) == (code) && mox_get_error(NULL) == (code), __LINE__, #rc " fails " #code)

typedef int (*read_fn)(mox_handle, char**);
typedef int (*parse_fn)(const char*, mox_handle*);

static mox_handle made[64];
static size_t made_count = 0;

/* Checks that a making call succeeded and remembers its handle for close_all. */
#define MAKE(call, h) (CHECK_INT((call), MOX_OK), made[made_count++] = (h))

static unsigned open_count(void)
{
    unsigned count = 12345;
    CHECK_INT(mox_open_handle_count(&count), MOX_OK);
    return count;
}

/* Closes every handle made, then checks that none is open. */
static void close_all(void)
{
    while (made_count > 0)
        CHECK_INT(mox_close_handle(made[--made_count]), MOX_OK);
    CHECK_INT(open_count(), 0);
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
        if (text == NULL || strcmp(text, rows[i].expected) != 0) {
            fprintf(stderr, "row %u: \"%s\", expected \"%s\"\n", (unsigned)i, text ? text : "(null)", rows[i].expected);
            ++check_failures;
        }
        mox_free(text);
    }
}
#define CHECK_TEXTS(rows) check_texts((rows), sizeof(rows) / sizeof((rows)[0]))

/* Writes `h`, reads the text back and checks that the copy writes the same text. */
static void check_round_trip(mox_handle h, read_fn marshal, parse_fn parse)
{
    char *xml = NULL, *again = NULL;
    mox_handle copy = 0;
    CHECK_INT(marshal(h, &xml), MOX_OK);
    MAKE(parse(xml, &copy), copy);
    CHECK_INT(marshal(copy, &again), MOX_OK);
    CHECK(xml != NULL && again != NULL && strcmp(xml, again) == 0);
    mox_free(xml);
    mox_free(again);
}

/* Handle numbers and lifetimes, and the last error around them. */
static void group_handles(void)
{
    mox_handle first = 0, second = 0;
    char* text = (char*)&text;
    CHECK_INT(mox_last_error_name(&text), MOX_OK);
    CHECK_STR(text, "No Error");
    mox_free(text);
    CHECK_INT(mox_product_id_create("first", "", "1", &first), MOX_OK);
    CHECK_INT(mox_product_id_parse("<product name=\"second\"/>", &second), MOX_OK);
    CHECK(first == 1 && second == 2 && open_count() == 2);
    CHECK_INT(mox_close_handle(first), MOX_OK);
    CHECK_INT(open_count(), 1);
    CHECK_FAILURE(mox_to_string(first, &text), MOX_E_INVALID_HANDLE);
    CHECK(text == NULL);
    /* A success leaves the error; reading a name into NULL does not touch it. */
    CHECK_INT(mox_to_string(second, &text), MOX_OK);
    CHECK(text != NULL && strstr(text, "second") != NULL && strstr(text, "1.0") != NULL);
    mox_free(text);
    CHECK_INT(mox_last_error_name(NULL), MOX_E_NULL_POINTER);
    CHECK_INT(mox_get_error(NULL), MOX_E_INVALID_HANDLE);
    /* Any close clears it first: a failing one leaves only its own. */
    CHECK_FAILURE(mox_close_handle(first), MOX_E_INVALID_HANDLE);
    CHECK_INT(mox_close_handle(second), MOX_OK);
    CHECK_INT(mox_get_error(NULL), 0);
    mox_free(NULL);
}

/* Product and application ids: written, read back, refused. */
static void group_identifiers(void)
{
    mox_handle product = 0, app = 0, user = 0, none = 7;
    char* xml = NULL;
    CHECK_INT(mox_product_id_create("acme", "core", "2.1", &product), MOX_OK);
    MAKE(mox_application_id_create(product, "console", &app), app);
    CHECK_INT(mox_close_handle(product), MOX_OK); /* the id keeps its product */
    check_round_trip(app, mox_application_id_marshal, mox_application_id_parse);
    MAKE(mox_identity_create_group("QEL", "NT:CORP/Group:admins", &user), user);
    check_round_trip(user, mox_identity_marshal, mox_identity_parse);
    CHECK_FAILURE(mox_product_id_create("", "c", "1", &none), MOX_E_INVALID_ARGUMENTS);
    CHECK_INT(none, 0);
    CHECK_FAILURE(mox_application_id_parse("<app-id name=\"x\"/>", &none), MOX_E_INVALID_ARGUMENTS);
    CHECK_FAILURE(mox_application_id_create(user, "x", &none), MOX_E_CLASS_CAST);
    CHECK_FAILURE(mox_identity_marshal(app, &xml), MOX_E_CLASS_CAST);
    close_all();
}

/* Every function of each shape given NULL pointers, handles that are not open, handles
 * of the wrong kind, and junk texts: a negative result, the same code recorded, outputs
 * reset, nothing registered. */
static void group_bad_input(void)
{
    static const parse_fn parsers[] = {
        mox_product_id_parse, mox_application_id_parse, mox_identity_parse,    mox_attributes_parse,
        mox_identities_parse, mox_account_parse,        mox_authority_parse,   mox_qualified_name_parse,
        mox_attribute_parse,  mox_class_id_parse,       mox_interface_id_parse, mox_loader_id_parse,
        mox_datetime_parse};
    /* Readers of one text; those from the fourth on refuse a product id. */
    static const read_fn readers[] = {
        mox_to_string, mox_handle_class, mox_product_id_marshal, mox_application_id_marshal,
        mox_identity_marshal, mox_attributes_marshal, mox_identity_format, mox_identity_value, mox_identity_type,
        mox_identity_name, mox_identity_authority_name, mox_identity_authority_format, mox_identities_marshal,
        mox_account_name, mox_account_type, mox_authority_format, mox_authority_name, mox_variant_type,
        mox_variant_value, mox_variant_tag, mox_qualified_name_name, mox_qualified_name_format,
        mox_qualified_name_scope, mox_attribute_marshal, mox_attribute_name, mox_attribute_format,
        mox_attribute_scope, mox_class_id_name, mox_class_id_loader, mox_class_id_marshal, mox_interface_id_name,
        mox_interface_id_marshal, mox_loader_id_name, mox_loader_id_file, mox_loader_id_marshal};
    static const char* junk[] = {"", "<product", "\xff\xfe", "<attributes><attribute name=\"x\">&bogus;",
                                 "<UserIdentifier format=\"QEL\"/>"};
    mox_handle product = 0, out = 9;
    const mox_handle bad[] = {0, -1, 77};
    size_t i, j, count = 9;
    char* text = (char*)&text;
    unsigned before;
    CHECK_INT(mox_product_id_create("p", "", "1", &product), MOX_OK);
    before = open_count();
    CHECK_FAILURE(mox_product_id_create("n", "c", NULL, &out), MOX_E_NULL_POINTER);
    CHECK_FAILURE(mox_identity_create_group("QEL", "v", NULL), MOX_E_NULL_POINTER);
    CHECK_FAILURE(mox_properties_parse("<p/>", NULL, &out), MOX_E_NULL_POINTER);
    CHECK_FAILURE(mox_attributes_count(product, NULL), MOX_E_NULL_POINTER);
    CHECK_FAILURE(mox_compare(product, product, NULL), MOX_E_NULL_POINTER);
    CHECK_FAILURE(mox_open_handle_count(NULL), MOX_E_NULL_POINTER);
    for (i = 0; i < sizeof parsers / sizeof parsers[0]; ++i) {
        CHECK_FAILURE(parsers[i](NULL, &out), MOX_E_NULL_POINTER);
        CHECK_FAILURE(parsers[i]("<product name=\"x\"/>", NULL), MOX_E_NULL_POINTER);
        for (j = 0; j < sizeof junk / sizeof junk[0]; ++j) {
            const int rc = parsers[i](junk[j], &out);
            CHECK(rc < 0 ? out == 0 && mox_get_error(NULL) == rc : rc == 0 && mox_close_handle(out) == 0);
        }
    }
    for (i = 0; i < sizeof readers / sizeof readers[0]; ++i) {
        CHECK_FAILURE(readers[i](product, NULL), MOX_E_NULL_POINTER);
        for (j = 0; j < sizeof bad / sizeof bad[0]; ++j) {
            CHECK_FAILURE(readers[i](bad[j], &text), MOX_E_INVALID_HANDLE);
            CHECK(text == NULL);
        }
        if (i >= 3)
            CHECK_FAILURE(readers[i](product, &text), MOX_E_CLASS_CAST);
    }
    CHECK_INT(out, 0);
    CHECK_FAILURE(mox_attributes_count(bad[2], &count), MOX_E_INVALID_HANDLE);
    CHECK_INT(count, 0);
    CHECK_INT(open_count(), before);
}

/* The families' round trips through their documents are the Python package's tests. */
static void group_identities(void)
{
    mox_handle qel = 0, email = 0, authority = 0, account = 0, built = 0, set = 0, out = 0;
    int equal = -1, found = -1;
    const text_row rows[] = {
        {&qel, mox_identity_format, "QEL"},          {&qel, mox_identity_value, "NT:CORP/Group:admins"},
        {&qel, mox_identity_type, "Group"},          {&qel, mox_identity_name, "admins"},
        {&qel, mox_identity_authority_name, "CORP"}, {&qel, mox_identity_authority_format, "NT"},
        {&email, mox_identity_value, "admins@CORP"}, {&email, mox_identity_authority_format, "UNKNOWN"},
        {&built, mox_identity_value, "NT:CORP/Group:admins"}, {&set, mox_handle_class, "MOX::IdentitySet"},
    };
    MAKE(mox_identity_parse("NT:CORP/Group:admins", &qel), qel);
    MAKE(mox_identity_convert(qel, "EMAIL", &email), email);
    MAKE(mox_authority_create("NT", "\\\\CORP", &authority), authority);
    MAKE(mox_account_parse("Group:admins", &account), account);
    MAKE(mox_identity_create(authority, account, &built), built);
    MAKE(mox_identities_create(&set), set);
    CHECK_INT(mox_identities_add(set, email), MOX_OK);
    CHECK_TEXTS(rows);
    CHECK_INT(mox_identity_equal(qel, email, &equal), MOX_OK);
    CHECK_INT(mox_identities_contains(set, built, &found), MOX_OK);
    CHECK(equal == 1 && found == 1);
    CHECK_FAILURE(mox_identities_get(set, 1, &out), MOX_E_INVALID_ARGUMENTS);
    CHECK_FAILURE(mox_identity_convert(email, "QEL", &out), MOX_E_INVALID_INPUT);
    CHECK_FAILURE(mox_identities_add(set, account), MOX_E_CLASS_CAST);
    close_all();
}

static void group_attributes(void)
{
    mox_handle qname = 0, parsed = 0, pattern = 0, attr = 0, list = 0, found = 7;
    int matches = -1;
    size_t count = 0;
    char* value = NULL;
    const text_row rows[] = {
        {&qname, mox_to_string, "<attribute-id name=\"size\" format=\"Integer\" scope=\"shop\"/>"},
        {&parsed, mox_qualified_name_name, "size"},  {&parsed, mox_qualified_name_format, "Integer"},
        {&parsed, mox_qualified_name_scope, "shop"}, {&found, mox_attribute_name, "color"},
        {&found, mox_attribute_format, "String"},    {&found, mox_attribute_scope, ""},
        {&found, mox_handle_class, "MOX::ATTR::IAttribute"},
    };
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
    CHECK_INT(mox_attributes_find(list, "absent", &found), MOX_OK);
    CHECK_INT(found, 0);
    MAKE(mox_attributes_find(list, "color", &found), found);
    CHECK_INT(mox_attribute_value_count(found, &count), MOX_OK);
    CHECK_INT(count, 2);
    CHECK_INT(mox_attribute_value(found, 1, &value), MOX_OK);
    CHECK_STR(value, "bl<ue");
    mox_free(value);
    CHECK_TEXTS(rows);
    CHECK_FAILURE(mox_attribute_value(found, 2, &value), MOX_E_INVALID_ARGUMENTS);
    CHECK_FAILURE(mox_attributes_add(list, qname), MOX_E_CLASS_CAST);
    CHECK_FAILURE(mox_attributes_parse("<attributes><attribute name=\"\"/></attributes>", &found),
                  MOX_E_INVALID_ARGUMENTS);
    close_all();
}

static void group_values(void)
{
    mox_handle integer = 0, real = 0, text = 0, props = 0, cls = 0, iface = 0, loader = 0;
    long long number = 0;
    double fraction = 0;
    char* value = (char*)&value;
    const text_row rows[] = {
        {&integer, mox_variant_type, "Integer"}, {&integer, mox_variant_tag, "t"},
        {&text, mox_variant_value, "x y"},       {&real, mox_variant_type, "Double"},
        {&cls, mox_class_id_marshal, "<class-id class=\"Foo\" version=\"3\"/>"},
        {&cls, mox_to_string, "Foo v=3"},        {&cls, mox_class_id_loader, ""},
        {&iface, mox_interface_id_marshal, "<interface-id class=\"IPrint\" version=\"4\"/>"},
        {&props, mox_handle_class, "MOX::RT::IProperties"}, {&loader, mox_handle_class, "MOX::LoaderId"},
    };
    MAKE(mox_variant_create("Integer", "7", "t", &integer), integer);
    MAKE(mox_variant_create_double(0.5, "", &real), real);
    MAKE(mox_variant_create_string("x y", "", &text), text);
    CHECK_INT(mox_variant_as_int64(integer, &number), MOX_OK);
    CHECK_INT(mox_variant_as_double(real, &fraction), MOX_OK);
    CHECK(number == 7 && fraction == 0.5);
    CHECK_FAILURE(mox_variant_as_int64(text, &number), MOX_E_NOT_AN_INTEGER);

    MAKE(mox_properties_create(&props), props);
    CHECK_INT(mox_properties_get(props, "absent", &value), MOX_OK);
    CHECK(value == NULL);
    MAKE(mox_class_id_create("Foo", 3, &cls), cls);
    MAKE(mox_interface_id_parse("IPrint::4", &iface), iface);
    MAKE(mox_loader_id_create("Boot", "boot.so", &loader), loader);
    CHECK_TEXTS(rows);
    close_all();
}

/* Date-times at every resolution, and the one order over every family. */
static void group_time_and_order(void)
{
    mox_handle created = 0, parsed = 0, a = 0, b = 0;
    int order = 9;
    char* text = NULL;
    static const struct {
        int resolution;
        const char* text;
    } formats[] = {{-1, "2026-12-04T05:38:45.123Z"}, {0, "2026-12-04T05:38:45Z"},
                   {1, "2026-12-04T05:38:45.123Z"},  {2, "2026-12-04T05:38:45.123000Z"}};
    size_t i;
    MAKE(mox_datetime_create(1500000, &created), created);
    MAKE(mox_datetime_parse("2026-12-04T05:38:45.123Z", &parsed), parsed);
    CHECK_INT(mox_to_string(created, &text), MOX_OK);
    CHECK_STR(text, "1970-01-01T00:00:01.500000Z");
    mox_free(text);
    for (i = 0; i < sizeof formats / sizeof formats[0]; ++i) {
        CHECK_INT(mox_datetime_format(parsed, formats[i].resolution, &text), MOX_OK);
        CHECK_STR(text, formats[i].text);
        mox_free(text);
    }
    CHECK_FAILURE(mox_datetime_format(parsed, 3, &text), MOX_E_INVALID_ARGUMENTS);
    CHECK_FAILURE(mox_datetime_parse("2026-12-04T05:38:45+01", &a), MOX_E_INVALID_INPUT);

    CHECK_INT(mox_compare(created, parsed, &order), MOX_OK);
    CHECK_INT(order, -1);
    MAKE(mox_class_id_create("Foo", 3, &a), a);
    MAKE(mox_class_id_parse("Foo v=2", &b), b);
    CHECK_INT(mox_compare(a, b, &order), MOX_OK);
    CHECK_INT(order, 1);
    CHECK_FAILURE(mox_compare(a, parsed, &order), MOX_E_CLASS_CAST);
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

/* Runs the group named by the one argument; groups expect a fresh process. */
int main(int argc, char** argv)
{
    static const struct {
        const char* name;
        void (*run)(void);
    } groups[] = {{"handles", group_handles},       {"identifiers", group_identifiers},
                  {"bad_input", group_bad_input},   {"identities", group_identities},
                  {"attributes", group_attributes}, {"values", group_values},
                  {"time_and_order", group_time_and_order}, {"errors", group_errors}};
    size_t i;
    for (i = 0; argc == 2 && i < sizeof groups / sizeof groups[0]; ++i) {
        if (strcmp(argv[1], groups[i].name) == 0) {
            groups[i].run();
            return check_failures == 0 ? 0 : 1;
        }
    }
    fprintf(stderr, "usage: %s GROUP\n", argv[0]);
    return 2;
}
