static int olvekWidgetsPlaceholder = 0;
