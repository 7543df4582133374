/* A host written in C: the public header compiles as C, the library links by
 * its declared names, and the named results are the values the exports give. */
#include <stdio.h>
#include <string.h>

#include "tollgram.h"

static int failures = 0;

static void expect(int condition, const char* what) {
    if (!condition) {
        fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

int main(void) {
    TollgramExportFunction version = &Version;
    const float result = version(NULL, 0.0, NULL, 0, 0, 0, NULL);
    unsigned int bits = 0;
    memcpy(&bits, &result, sizeof bits);
    expect(bits == 0x3FF47AE1u, "Version gives 1.91 as the float the host reads");

    /* No model is loaded, so a group query fails. */
    expect(GetOBJGroupInfo("name", 1.0, NULL, 0, 0, 0, NULL) == (float)TOLLGRAM_FAILURE,
           "GetOBJGroupInfo without a model gives TOLLGRAM_FAILURE");
    expect(SetDefaultDir("", 0.0, NULL, 0, 0, 0, NULL) == (float)TOLLGRAM_SUCCESS,
           "SetDefaultDir with an empty folder gives TOLLGRAM_SUCCESS");
    return failures == 0 ? 0 : 1;
}
