/* SPDX-License-Identifier: MIT */
/* The C binding used from plain C: handles, errors per thread, bad input of every shape,
 * and no handle left open (the value families' round trips, orders, error mapping and
 * each failure's recorded name, function and detail are the Python package's tests). Each group runs in its own process. */
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

static unsigned open_count(void)
{
    unsigned count = 12345;
    CHECK_INT(mox_open_handle_count(&count), MOX_OK);
    return count;
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
    mox_error_clear();
    CHECK_INT(mox_error_last()->code, 0);
    for (i = 0; i < 3; ++i)
        CHECK_INT(pthread_create(&threads[i], NULL, fail_in_thread, (void*)&kinds[i]), 0);
    for (i = 0; i < 3; ++i)
        pthread_join(threads[i], NULL);
    CHECK_INT(mox_error_last()->code, 0);
    CHECK_INT(open_count(), 0);
}

/* Whole collections at once: handle arrays and text blocks, all released with mox_free. */
static void group_collections(void)
{
    mox_handle list = 0, set = 0, *handles = NULL;
    char* texts = NULL;
    size_t count = 9, bytes = 0;
    CHECK_INT(mox_attributes_parse("<attributes><attribute name=\"a\"><value>1</value><value></value></attribute>"
                                   "<attribute name=\"b\"/></attributes>", &list), MOX_OK);
    CHECK_INT(mox_attributes_to_array(list, &handles, &count), MOX_OK);
    CHECK_INT(count, 2);
    CHECK_INT(mox_attribute_values(handles[0], &texts, &count, &bytes), MOX_OK);
    CHECK(count == 2 && bytes == 3 && memcmp(texts, "1\0", 3) == 0);
    mox_free(texts);
    CHECK_INT(mox_attribute_values(handles[1], &texts, &count, NULL), MOX_OK);
    CHECK(texts == NULL && count == 0);
    CHECK(mox_close_handle(handles[0]) == MOX_OK && mox_close_handle(handles[1]) == MOX_OK);
    mox_free(handles);
    CHECK_INT(mox_identities_create(&set), MOX_OK);
    CHECK_INT(mox_identities_to_array(set, &handles, &count), MOX_OK);
    CHECK(handles == NULL && count == 0);
    CHECK(mox_close_handle(list) == MOX_OK && mox_close_handle(set) == MOX_OK && open_count() == 0);
}

/* Runs the group named by the one argument; groups expect a fresh process. */
int main(int argc, char** argv)
{
    static const struct {
        const char* name;
        void (*run)(void);
    } groups[] = {{"handles", group_handles}, {"bad_input", group_bad_input}, {"errors", group_errors},
                  {"collections", group_collections}};
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
