/* A client written in C, as automation clients outside C++ are: the headers compile as C
 * and the vtables are called the C way. */

#include "wimbrel.h"

#include <string.h>

/* Adds two destinations and reads the second back; returns its task id, or -1. */
LONG c_client_add_and_read(ISendTask* task, char number[28])
{
    LONG id = -1;
    LONG count = 0;
    if (task->lpVtbl->AddCalled(task, "010-1", 1) != S_OK || task->lpVtbl->AddCalled(task, "010-2", 2) != S_OK)
        return -1;
    if (task->lpVtbl->get_Count(task, &count) != S_OK || count != 2)
        return -1;
    if (task->lpVtbl->GetCalled(task, 1, number, &id) != S_OK)
        return -1;
    return id;
}

/* The sizes a C compiler gives the shared records. */
size_t c_variant_size(void) { return sizeof(VARIANT); }
size_t c_dispparams_size(void) { return sizeof(DISPPARAMS); }
size_t c_client_vtable_size(void) { return sizeof(TolvyClientXVtbl); }
