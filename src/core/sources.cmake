# The core's sources, relative to this folder: the library olvek_core (src/core/CMakeLists.txt)
# and the fuzz targets (fuzz/CMakeLists.txt) both build from this one list.
set(OLVEK_CORE_SOURCES
  # The document tree, its item payloads, the item model over it, the document's file state, and
  # the recorded tree changes that undo takes back.
  document/NodeData.h document/NodeData.cpp
  document/LineStore.h document/LineStore.cpp
  document/TreeNode.h document/TreeNode.cpp
  document/TreeObserver.h
  document/DocumentTree.h document/DocumentTree.cpp
  document/DocumentModel.h document/DocumentModel.cpp
  document/DocumentState.h document/DocumentState.cpp
  document/LoadingScope.h
  document/ControlTrim.h
  document/NulCharacters.h document/NulCharacters.cpp
  document/TextCount.h document/TextCount.cpp
  document/TreeCount.h document/TreeCount.cpp
  document/LineCounts.h document/LineCounts.cpp
  document/DocumentCount.h document/DocumentCount.cpp
  document/TreeStep.h
  document/TreeNodeLookup.h document/TreeNodeLookup.cpp
  document/NodeInsertStep.h document/NodeInsertStep.cpp
  document/NodeRemoveStep.h document/NodeRemoveStep.cpp
  document/NodeMoveStep.h document/NodeMoveStep.cpp
  document/TreeChange.h document/TreeChange.cpp
  document/TreeChangeRecorder.h document/TreeChangeRecorder.cpp

  # The ruby and emphasis notation of body lines (|漢字《かんじ》, 《《強調》》), read into runs.
  ruby/RubyRun.h
  ruby/RubyNotation.h ruby/RubyNotation.cpp
  ruby/RubyHtml.h ruby/RubyHtml.cpp

  # Vertical writing: the manuscript sheet's rule (shared with the counts), the 原稿用紙 grid,
  # the page look and the HTML that the engine of the print library lays out vertically.
  vertical/ManuscriptCell.h
  vertical/ManuscriptRule.h vertical/ManuscriptRule.cpp
  vertical/VerticalPageStyle.h vertical/VerticalPageStyle.cpp
  vertical/VerticalInline.h vertical/VerticalInline.cpp
  vertical/VerticalChunk.h
  vertical/VerticalBookWriter.h vertical/VerticalBookWriter.cpp
  vertical/GenkoPage.h
  vertical/GenkoLayout.h vertical/GenkoLayout.cpp
  vertical/GenkoHtmlWriter.h vertical/GenkoHtmlWriter.cpp
  vertical/VerticalPdfOptions.h
  vertical/VerticalSettings.h vertical/VerticalSettings.cpp
  vertical/VerticalPreviewHtml.h vertical/VerticalPreviewHtml.cpp

  # The two document formats, opening and saving by extension, backup copies.
  files/DocumentFileReading.cpp files/DocumentFileReading.h
  files/DocumentStorage.cpp files/DocumentStorage.h
  files/FileResult.h
  files/JsonDocumentFormat.cpp files/JsonDocumentFormat.h
  files/JsonDocumentReading.cpp
  files/JsonStringDecoding.cpp files/JsonStringDecoding.h
  files/JsonTextGenerator.cpp files/JsonTextGenerator.h
  files/LegacyDocumentFormat.cpp files/LegacyDocumentFormat.h
  files/SavedFile.cpp files/SavedFile.h
  files/FileBatch.cpp files/FileBatch.h
  files/ShiftJis.cpp files/ShiftJis.h
  files/TextFileEncoding.cpp files/TextFileEncoding.h
  files/BackupFiles.h files/BackupFiles.cpp
  files/SaveTarget.cpp files/SaveTarget.h
  files/FileIdentity.h files/FileIdentity.cpp
  files/RecoveryFile.h files/RecoveryFile.cpp

  # Text and HTML export, the tree index, the import of dotted text files.
  export/TextExportOptions.h
  export/TextExport.h export/TextExport.cpp
  export/DisplayWidth.h export/DisplayWidth.cpp
  export/IndexExport.h export/IndexExport.cpp
  export/HtmlExport.h export/HtmlExport.cpp
  export/ImportFile.h export/ImportFile.cpp
  export/ExportLines.h export/ExportLines.cpp

  # The EPUB 3 book: its files made from the document, zipped by libzip.
  epub/EpubOptions.h
  epub/EpubFile.h
  epub/EpubArchive.h epub/EpubArchive.cpp
  epub/EpubBook.h epub/EpubBook.cpp

  # The find dialog's scan and hit list, the search history, the replace dialog's forward search.
  search/FindRecord.h
  search/FindRecordList.h search/FindRecordList.cpp
  search/TextScan.h search/TextScan.cpp
  search/FindHistory.h search/FindHistory.cpp
  search/ReplaceView.h
  search/ForwardSearch.h search/ForwardSearch.cpp

  # The text mode's heading parser and heading list, tree/text conversion, dotted text files.
  textmode/LumenoTreeListData.h
  textmode/LumenoTreeList.h textmode/LumenoTreeList.cpp
  textmode/HeadingParser.h textmode/HeadingParser.cpp
  textmode/DottedTextFile.h textmode/DottedTextFile.cpp
  textmode/TreeText.h textmode/TreeText.cpp

  # The print layout over an abstract page: options, page geometry, text measuring, the run.
  printing/PrintOptions.h printing/PrintOptions.cpp
  printing/PageGeometry.h printing/PageGeometry.cpp
  printing/TextMeasurer.h printing/TextMeasurer.cpp
  printing/CharacterAdvances.h printing/CharacterAdvances.cpp
  printing/PrintSurface.h
  printing/PrintLayout.h printing/PrintLayout.cpp
  printing/PrintRun.h printing/PrintRun.cpp

  # The settings file and its keys, the prompt interface, the tree commands' availability, the
  # plug-in command line, colour names, loading Qt's translation.
  app/TreeCommandAvailability.h app/TreeCommandAvailability.cpp
  app/Prompt.h app/Prompt.cpp
  app/IniText.h app/IniText.cpp
  app/IniFile.h app/IniFile.cpp
  app/ColorNames.h app/ColorNames.cpp
  app/SettingKeys.h
  app/Settings.h app/Settings.cpp
  app/SettingsLocation.h app/SettingsLocation.cpp
  app/PluginLaunch.h app/PluginLaunch.cpp
  app/OptionValues.h app/OptionValues.cpp
  app/QtTranslation.h app/QtTranslation.cpp
  app/DocumentTarget.h app/DocumentTarget.cpp
  app/ThemeChoice.h app/ThemeChoice.cpp
)
