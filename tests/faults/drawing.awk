# gen.awk -v n=COUNT -v c0=WIDTH -v c8=WIDTH -v cn=WIDTH -v axis=x|y : a drawing of n lines.
function code(c, w) { return sprintf("%" w "s", c) }
BEGIN {
  print code(0, c0); print "SECTION"; print code(2, cn); print "ENTITIES"
  for (i = 1; i <= n; i++) {
    if (axis == "x") { x1 = i; y1 = 0; x2 = i; y2 = 1 } else { x1 = 0; y1 = i; x2 = 1; y2 = i }
    print code(0, c0); print "LINE"; print code(8, c8); print "0"
    print code(10, cn); print x1; print code(20, cn); print y1; print code(30, cn); print 0
    print code(11, cn); print x2; print code(21, cn); print y2; print code(31, cn); print 0
  }
  print code(0, c0); print "ENDSEC"; print code(0, c0); print "EOF"
}
