MODULE Cell1
  ! taught on 2026-11-30
  CONST robtarget pHome:=[[812.5,0,1045],[0,0,1,0],[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];
  PERS tooldata tGripper:=[TRUE,[[0,0,185.5],[1,0,0,0]],[2.4,[0,0,60],[1,0,0,0],0,0,0]];
  PROC main()
    MoveJ pHome, v1000, z50, tGripper;
    MoveL [[900,-100,400],[0.7071068,0,0.7071068,0],[0,-1,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]], v200, fine, tGripper;
  ENDPROC
ENDMODULE
