# tesvarin-retest -s / -S: the editor's first and last hit of each text.
if(TARGET tesvarin-retest)
  set(retest $<TARGET_FILE:tesvarin-retest>)
  string(REPEAT "61" 251 retest_251)
  # name | expected output | arguments, comma-separated
  set(retest_search_cases
    "s_folded|^match 2 3|-s,-,ABC,xabcx"
    "s_case|^nomatch|-s,c,ABC,xabcx"
    "s_whole_word|^match 7 2|-s,w,ab,ab-ab ab"
    "s_reduced_case_wins|^nomatch|-s,crf,A.,xab"
    "s_fuzzy_needs_regexp|^match 2 2|-s,f,a.,xa.b"
    "s_251_bytes|^nomatch|-x,-s,r,2e2a,${retest_251}"
    "s_trail_byte|^nomatch|-x,-s,c,4a,8a4a"
    "s_after_nul|^match 3 1|-x,-s,r,62,610062"
    "s_nul_ends_an_expression|^nomatch|-x,-s,r,612e62,610062"
    "s_empty_match_is_no_hit|^nomatch|-s,r,x*,b"
    "s_first_match_of_a_character_or_more|^match 2 2|-s,r,x*,bxx"
    "s_kana_word|^match 5 4|-s,w,かな,漢字かな"
    "S_aa_in_aaa|^match 1 2|-S,-,aa,aaa"
    "S_whole_word|^match 1 2|-S,w,ab,ab abc"
    "S_none|^nomatch|-S,-,q,abc"
    "s_two_texts|^match 1 1\nnomatch|-s,c,a,a,b"
  )
  foreach(case IN LISTS retest_search_cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 name)
    list(GET parts 1 expected)
    list(GET parts 2 args)
    string(REPLACE "," ";" args "${args}")
    add_test(NAME retest_${name} COMMAND ${retest} ${args})
    set_tests_properties(retest_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}")
  endforeach()
  # (a list cannot carry an unbalanced bracket)
  add_test(NAME retest_s_error COMMAND ${retest} -s r "a[" x)
  set_tests_properties(retest_s_error PROPERTIES PASS_REGULAR_EXPRESSION "^error 3 ")
  add_test(NAME retest_s_error_status COMMAND sh -c "${retest} -s r '(a' x; test $? -eq 2")
  add_test(NAME retest_S_251_bytes COMMAND ${retest} -x -S r 2e2a ${retest_251})
  set_tests_properties(retest_S_251_bytes PROPERTIES PASS_REGULAR_EXPRESSION "^nomatch")
endif()
