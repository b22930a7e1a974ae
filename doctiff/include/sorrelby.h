#pragma once
/* libsorrelby: documents, web pages and pictures to one fax-ready TIFF file
 * (1728 x 2444 dots at 204 x 196 dpi, CCITT G4, one page per fax page).
 *
 * Call from one thread at a time. Scratch files live in $TOLVY_ROOT (default /tmp). */

#ifdef __cplusplus
extern "C" {
#endif

/* 1 ready; 0 when the printer semaphore cannot be created. */
int InitDoc2TifServer(void);
/* `sources`: up to ten paths separated by ';' (.doc/.docx, .xls, .txt, .rtf, .ppt, .htm/.html,
 * .tif/.tiff, .jpg, .bmp, .gif). Their pages are appended to `output` (delete it first for a
 * fresh file). Returns the number of pages of `output`, or 0 on failure. */
int PrintDoc2TifFile(const char* sources, const char* output);
/* Always 1. */
int CloseDoc2TifServer(void);

/* The functions by their fixed ordinals: 1 InitDoc2TifServer, 2 PrintDoc2TifFile,
 * 3 CloseDoc2TifServer; NULL for any other number. */
void* sorrelby_proc_by_ordinal(int ordinal);

#ifdef __cplusplus
}
#endif
