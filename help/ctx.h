/* Help contexts of the program's windows, as the program sends them. */
#define IDH_VENTANA_PRINCIPAL 1
